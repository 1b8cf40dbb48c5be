// The INI text layer. Input: section, key and value on a line each, then the file's text. A write
// followed by a read gives back the value, a rewrite changes nothing, every other line survives.
#include "FuzzSupport.h"
#include "IniText.h"

using namespace quill::settings;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::string_view section = TakeLine(text), key = TakeLine(text), value = TakeLine(text);
    // Blanks around names and values and one pair of quotes are not part of what a read gives back.
    if (!IsValidSectionName(section) || !IsValidKeyName(key) || !IsValidValue(value)
        || (value.size() >= 2 && (value[0] == '"' || value[0] == '\'') && value.back() == value[0])
        || TrimBlanks(section) != section || TrimBlanks(key) != key || TrimBlanks(value) != value)
        return 0;

    const bool existed = FindIniValue(text, section, key).has_value();
    const std::string written = WithIniValue(text, section, key, value);
    QUILL_FUZZ_CHECK(FindIniValue(written, section, key) == value
        && WithIniValue(written, section, key, value) == written);

    // What the write took out of the text and what it put in, between the bytes it kept.
    const std::size_t kept = std::ranges::mismatch(text, written).in1 - text.begin();
    const std::string_view tail = text.substr(kept), newTail = std::string_view(written).substr(kept);
    const std::size_t keptAtEnd
        = std::mismatch(tail.rbegin(), tail.rend(), newTail.rbegin(), newTail.rend()).first - tail.rbegin();
    const std::string_view removed = tail.substr(0, tail.size() - keptAtEnd);
    const std::string_view added = newTail.substr(0, newTail.size() - keptAtEnd);
    // An existing key changes within its own line; a new one only adds.
    QUILL_FUZZ_CHECK(existed ? (removed.find('\n') == removed.npos && added.find('\n') == added.npos)
                             : (removed.empty() && !added.empty()));
    return 0;
}
