#include "ResultOrder.h"

#include <boost/asio/ip/address_v4.hpp>

#include <cctype>
#include <charconv>
#include <compare>
#include <optional>
#include <string>

namespace quill::discovery {

namespace {

    int Sign(std::strong_ordering order)
    {
        return order < 0 ? -1 : order > 0 ? 1 : 0;
    }

    // Texts with a key before texts without; two without by their bytes.
    template <class Key> int CompareKeys(std::string_view a, std::string_view b, Key key)
    {
        const auto ka = key(a);
        const auto kb = key(b);
        if (ka && kb && *ka != *kb)
            return *ka < *kb ? -1 : 1;
        if (ka.has_value() != kb.has_value())
            return ka ? -1 : 1;
        return Sign(a <=> b);
    }

    std::optional<unsigned long long> Number(std::string_view text)
    {
        unsigned long long value = 0;
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
        if (error != std::errc() || end != text.data() + text.size() || text.empty())
            return std::nullopt;
        return value;
    }

    bool IsDigit(char c)
    {
        return std::isdigit(static_cast<unsigned char>(c)) != 0;
    }

} // namespace

int CompareNumberTexts(std::string_view a, std::string_view b)
{
    return CompareKeys(a, b, Number);
}

int CompareAddressTexts(std::string_view a, std::string_view b)
{
    return CompareKeys(a, b, [](std::string_view text) -> std::optional<unsigned long> {
        boost::system::error_code error;
        const auto address = boost::asio::ip::make_address_v4(std::string(text), error);
        return error ? std::nullopt : std::optional<unsigned long>(address.to_uint());
    });
}

int CompareMacTexts(std::string_view a, std::string_view b)
{
    return CompareKeys(a, b, [](std::string_view text) -> std::optional<unsigned long long> {
        std::string hex;
        for (const char c : text) {
            if (std::isxdigit(static_cast<unsigned char>(c)))
                hex += c;
            else if (c != ':' && c != '-' && c != '.')
                return std::nullopt;
        }
        if (hex.size() != 12)
            return std::nullopt;
        return std::stoull(hex, nullptr, 16);
    });
}

int CompareVersionTexts(std::string_view a, std::string_view b)
{
    // Runs of digits compare by value, everything else byte by byte.
    std::size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (IsDigit(a[i]) && IsDigit(b[j])) {
            const std::size_t si = i, sj = j;
            while (i < a.size() && IsDigit(a[i]))
                ++i;
            while (j < b.size() && IsDigit(b[j]))
                ++j;
            std::string_view na = a.substr(si, i - si), nb = b.substr(sj, j - sj);
            na.remove_prefix(std::min(na.find_first_not_of('0'), na.size()));
            nb.remove_prefix(std::min(nb.find_first_not_of('0'), nb.size()));
            if (na.size() != nb.size())
                return na.size() < nb.size() ? -1 : 1;
            if (const int order = Sign(na <=> nb))
                return order;
            continue;
        }
        if (a[i] != b[j])
            return static_cast<unsigned char>(a[i]) < static_cast<unsigned char>(b[j]) ? -1 : 1;
        ++i, ++j;
    }
    return Sign((a.size() - i) <=> (b.size() - j));
}

} // namespace quill::discovery
