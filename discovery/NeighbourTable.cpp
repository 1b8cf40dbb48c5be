#include "NeighbourTable.h"

#include <boost/asio/ip/address_v4.hpp>

#include <fstream>
#include <sstream>

namespace quill::discovery {

int CountArpAnswered(const std::filesystem::path& table, const Ipv4Octets& begin, const Ipv4Octets& end)
{
    constexpr unsigned kComplete = 0x2;
    std::ifstream in(table);
    std::string line;
    std::getline(in, line); // the column headings
    int count = 0;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string address, type, flags;
        if (!(fields >> address >> type >> flags))
            continue;
        boost::system::error_code error;
        const auto octets = boost::asio::ip::make_address_v4(address, error).to_bytes();
        const bool inRange = !error && std::equal(octets.begin(), octets.begin() + 3, begin.begin())
            && octets[3] >= begin[3] && octets[3] <= end[3];
        if (inRange && (std::stoul(flags, nullptr, 16) & kComplete))
            ++count;
    }
    return count;
}

} // namespace quill::discovery
