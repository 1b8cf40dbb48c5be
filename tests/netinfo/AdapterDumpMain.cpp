// Prints the adapter table that ReadAdaptersInfo fills, for tests that run it
// inside a network namespace of their own:
//   netinfo_adapter_dump <resolver config file>
// Output: "result <0|1> count <n>", then one line per filled slot with the
// address parts joined by "|", the mask, the gateway and the DNS server,
// separated by tabs.
#include "AdaptersInfo.h"

#include <cstdio>
#include <iostream>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "usage: netinfo_adapter_dump <resolver config file>\n";
        return 2;
    }
    quill::netinfo::AdapterSources sources = quill::netinfo::AdapterSources::System();
    sources.resolverConfigFile = argv[1];

    quill::netinfo::AdapterTable table;
    const bool result = quill::netinfo::ReadAdaptersInfo(table, sources);
    std::cout << "result " << result << " count " << table.count << "\n";
    for (std::int32_t i = 0; i < table.count; ++i) {
        const quill::netinfo::AdapterInfo& slot = table.slots[static_cast<std::size_t>(i)];
        for (std::size_t p = 0; p < slot.addressParts.size(); ++p)
            std::cout << (p == 0 ? "" : "|") << slot.addressParts[p];
        std::cout << "\t" << slot.subnetMask << "\t" << slot.defaultGateway << "\t" << slot.dnsServer << "\n";
    }
    return 0;
}
