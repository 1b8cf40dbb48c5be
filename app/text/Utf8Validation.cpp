#include "Utf8Validation.h"

namespace quill::text {

namespace {

    bool InRange(unsigned char byte, unsigned char low, unsigned char high)
    {
        return byte >= low && byte <= high;
    }

} // namespace

// Written out after the table of well-formed byte sequences of the Unicode
// standard (chapter 3, table 3-7). The second byte's range depends on the
// lead byte; that is what rules out overlong forms, surrogates and code points
// above U+10FFFF without decoding the value.
std::size_t WellFormedCharLength(std::string_view bytes, std::size_t offset)
{
    if (offset >= bytes.size())
        return 0;
    const auto byteAt = [&](std::size_t i) { return static_cast<unsigned char>(bytes[offset + i]); };
    const unsigned char lead = byteAt(0);
    if (lead <= 0x7F)
        return 1;

    std::size_t length = 0;
    unsigned char secondLow = 0x80;
    unsigned char secondHigh = 0xBF;
    if (InRange(lead, 0xC2, 0xDF)) {
        length = 2;
    } else if (lead == 0xE0) {
        length = 3;
        secondLow = 0xA0;
    } else if (InRange(lead, 0xE1, 0xEC) || InRange(lead, 0xEE, 0xEF)) {
        length = 3;
    } else if (lead == 0xED) {
        length = 3;
        secondHigh = 0x9F;
    } else if (lead == 0xF0) {
        length = 4;
        secondLow = 0x90;
    } else if (InRange(lead, 0xF1, 0xF3)) {
        length = 4;
    } else if (lead == 0xF4) {
        length = 4;
        secondHigh = 0x8F;
    } else {
        return 0;
    }

    if (bytes.size() - offset < length)
        return 0;
    if (!InRange(byteAt(1), secondLow, secondHigh))
        return 0;
    for (std::size_t i = 2; i < length; ++i) {
        if (!InRange(byteAt(i), 0x80, 0xBF))
            return 0;
    }
    return length;
}

char32_t DecodeWellFormed(std::string_view bytes, std::size_t offset, std::size_t length)
{
    constexpr unsigned char kLeadBits[] = { 0, 0x7F, 0x1F, 0x0F, 0x07 };
    char32_t codePoint = static_cast<unsigned char>(bytes[offset]) & kLeadBits[length];
    for (std::size_t i = 1; i < length; ++i)
        codePoint = (codePoint << 6) | (static_cast<unsigned char>(bytes[offset + i]) & 0x3Fu);
    return codePoint;
}

// Qt's decoders substitute U+FFFD for broken input and have no mode that drops
// it, so the bytes are cleaned here first and only well-formed text reaches Qt.
std::string FilterUtf8(std::string_view bytes)
{
    std::string wellFormed;
    wellFormed.reserve(bytes.size());
    std::size_t offset = 0;
    while (offset < bytes.size()) {
        const std::size_t length = WellFormedCharLength(bytes, offset);
        if (length == 0) {
            // Drop only the offending byte: whatever follows gets its own
            // chance, so a broken lead byte never takes a good character with it.
            ++offset;
            continue;
        }
        wellFormed.append(bytes.substr(offset, length));
        offset += length;
    }
    return wellFormed;
}

} // namespace quill::text
