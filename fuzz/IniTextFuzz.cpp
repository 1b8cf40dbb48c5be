// The INI text layer. Input: section, key and value on a line each, then the file's text. A write
// followed by a read gives back the value, a rewrite changes nothing, every other line survives.
#include "FuzzSupport.h"
#include "IniText.h"

using namespace quill::settings;

namespace {
// The lines after a byte order mark, without their "\n" or "\r\n".
std::vector<std::string_view> Lines(std::string_view text)
{
    std::vector<std::string_view> lines;
    for (text.remove_prefix(text.starts_with("\xEF\xBB\xBF") ? 3 : 0); !text.empty();) {
        const std::string_view line = TakeLine(text);
        lines.push_back(line.substr(0, line.size() - (line.ends_with('\r') ? 1 : 0)));
    }
    return lines;
}
} // namespace

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

    const std::vector<std::string_view> before = Lines(text), after = Lines(written);
    if (existed) { // only the key's own line changes
        const auto [old, now] = std::ranges::mismatch(before, after);
        QUILL_FUZZ_CHECK(before.size() == after.size()
            && (old == before.end() || std::equal(old + 1, before.end(), now + 1)));
        return 0;
    }
    // The old lines in order, with a key line and perhaps a section header added.
    QUILL_FUZZ_CHECK(after.size() == before.size() + 1 || after.size() == before.size() + 2);
    auto next = after.begin();
    for (const std::string_view line : before) {
        next = std::find(next, after.end(), line);
        QUILL_FUZZ_CHECK(next++ != after.end());
    }
    return 0;
}
