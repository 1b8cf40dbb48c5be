#pragma once

#include "DiscoveryPorts.h"

// What the search page takes from outside: the program uses the defaults,
// tests hand in their own ports.
struct SearchPageOptions {
    DiscoveryPorts ports;
};
