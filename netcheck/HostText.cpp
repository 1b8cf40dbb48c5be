#include "HostText.h"

#include <algorithm>

namespace quill::netcheck {

namespace {

    bool IsAsciiAlnum(char c)
    {
        return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
    }

    bool IsHexDigit(char c)
    {
        return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
    }

    bool IsNameByte(char c)
    {
        return IsAsciiAlnum(c) || c == '.' || c == '-' || c == '_';
    }

    // Longest textual IPv6 address: eight groups with an IPv4 tail.
    constexpr std::size_t kMaxIpv6Length = 45;

} // namespace

bool IsHostName(std::string_view text)
{
    if (text.empty() || text.size() > kMaxHostNameLength)
        return false;
    return std::all_of(text.begin(), text.end(), IsNameByte);
}

bool IsIpv6Literal(std::string_view text)
{
    std::string_view address = text;
    const auto zoneMark = text.find('%');
    if (zoneMark != std::string_view::npos) {
        address = text.substr(0, zoneMark);
        const std::string_view zone = text.substr(zoneMark + 1);
        if (zone.empty() || !IsHostName(zone))
            return false;
    }
    if (address.size() < 2 || address.size() > kMaxIpv6Length)
        return false;
    if (address.find(':') == std::string_view::npos)
        return false;
    return std::all_of(
        address.begin(), address.end(), [](char c) { return IsHexDigit(c) || c == ':' || c == '.'; });
}

std::string PrintableForLog(std::string_view text)
{
    std::string printable(text);
    std::replace_if(
        printable.begin(), printable.end(),
        [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7f; }, '?');
    return printable;
}

} // namespace quill::netcheck
