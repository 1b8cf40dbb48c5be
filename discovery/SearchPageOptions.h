#pragma once

#include "DiscoveryPorts.h"
#include "SettleRule.h"

#include <QString>

#include <filesystem>
#include <functional>

// What the search page takes from outside; the program uses the defaults.
struct SearchPageOptions {
    DiscoveryPorts ports {};
    quill::discovery::SettleTiming settle {};
    // The kernel's neighbour table, read when a search found nothing.
    std::filesystem::path neighbourTable = "/proc/net/arp";
    // Asks the user where to export the results; empty when cancelled. The
    // program asks with a file dialog.
    std::function<QString()> chooseExportFile {};
};
