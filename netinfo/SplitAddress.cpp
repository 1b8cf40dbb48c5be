#include "SplitAddress.h"

namespace quill::netinfo {

namespace {
    // "0.0.0.0" is the shortest address text that can make sense.
    constexpr std::size_t kShortestAddress = 7;
} // namespace

bool SplitAddress(AdapterTable& table, std::string_view address)
{
    if (!HasFreeSlot(table))
        return false;
    if (address.size() < kShortestAddress)
        return false;
    if (address.find('.') == std::string_view::npos)
        return false;

    std::vector<std::string>& parts = table.slots[static_cast<std::size_t>(table.count)].addressParts;
    parts.clear();
    std::size_t start = 0;
    for (;;) {
        const std::size_t dot = address.find('.', start);
        parts.emplace_back(address.substr(start, dot - start));
        if (dot == std::string_view::npos)
            break;
        start = dot + 1;
    }
    return true;
}

} // namespace quill::netinfo
