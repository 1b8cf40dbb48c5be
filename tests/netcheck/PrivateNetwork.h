#pragma once

#include <ifaddrs.h>

#include <cstring>
#include <string>

namespace quill::netcheck::test {

// Why a test that resolves a name which does not exist must not run here, or
// empty when it may: such a lookup reaches for the DNS server, so it runs only
// where loopback is the sole interface (the private namespace the test script
// makes as root) and no query can leave the machine.
inline std::string WhyNotPrivateNetwork()
{
    ifaddrs* list = nullptr;
    if (::getifaddrs(&list) != 0)
        return "cannot list the network interfaces";
    std::string other;
    for (const ifaddrs* entry = list; entry && other.empty(); entry = entry->ifa_next)
        if (std::strcmp(entry->ifa_name, "lo") != 0)
            other = entry->ifa_name;
    ::freeifaddrs(list);
    return other.empty() ? std::string()
                         : "not in a private network namespace (interface " + other
            + "); run the tests as root through scripts/test.sh";
}

} // namespace quill::netcheck::test
