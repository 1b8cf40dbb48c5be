#include "SafeText.h"

#include "Utf8Validation.h"

#include <cstdio>

namespace quill::text {

bool IsHiddenControl(char32_t codePoint)
{
    const auto within
        = [codePoint](char32_t low, char32_t high) { return codePoint >= low && codePoint <= high; };
    return codePoint < 0x20 || within(0x7F, 0x9F) || codePoint == 0x061C || within(0x200E, 0x200F)
        || within(0x2028, 0x202E) || within(0x2066, 0x2069);
}

std::string SafeText(std::string_view bytes)
{
    std::string safe;
    safe.reserve(bytes.size());
    for (std::size_t offset = 0; offset < bytes.size();) {
        const std::size_t length = WellFormedCharLength(bytes, offset);
        if (length == 0) {
            ++offset;
            continue;
        }
        if (const char32_t codePoint = DecodeWellFormed(bytes, offset, length); IsHiddenControl(codePoint)) {
            char visible[sizeof "<U+FFFF>"];
            std::snprintf(visible, sizeof visible, "<U+%04X>", static_cast<unsigned>(codePoint));
            safe += visible;
        } else {
            safe.append(bytes.substr(offset, length));
        }
        offset += length;
    }
    return safe;
}

} // namespace quill::text
