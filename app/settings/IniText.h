#pragma once

#include <optional>
#include <string>
#include <string_view>

// The INI text format as users know it from Windows' private-profile files:
// - a line whose first non-blank character is '[' opens a section named by the
//   text up to the first ']' (blanks around the name ignored);
// - a line holding '=' is a key: the name before the first '=', the value
//   after it, blanks around both ignored; one pair of matching quotes around
//   the value is dropped;
// - section and key names match ignoring ASCII case; the first matching key
//   wins, also when a section appears twice;
// - lines starting with ';' or '#', lines without '=' and keys before the
//   first section are never matched; a write keeps them byte for byte.
// Lines end with "\n" or "\r\n"; a leading UTF-8 byte order mark is skipped.
namespace quill::settings {

// The value of section/key in text, or nothing when the section or the key is missing.
std::optional<std::string_view> FindIniValue(
    std::string_view text, std::string_view section, std::string_view key);

// text with section/key set to value. Only the key's value changes when the key
// exists; a missing key is added after the last entry of the section's first
// occurrence, a missing section at the end. New lines take the file's first
// line end, and a file without a final line end keeps lacking one. Names and
// value must have passed the checks below.
std::string WithIniValue(
    std::string_view text, std::string_view section, std::string_view key, std::string_view value);

// Trims the blanks Windows ignores around names and values.
std::string_view TrimBlanks(std::string_view text);

// A name that can be written without breaking the file's structure: not empty,
// no line break or NUL byte, no ']' in a section name, no '=' in a key name and
// no key name that would read as a comment or a section.
bool IsValidSectionName(std::string_view name);
bool IsValidKeyName(std::string_view name);
// A value that stays on its line: no line break or NUL byte.
bool IsValidValue(std::string_view value);

} // namespace quill::settings
