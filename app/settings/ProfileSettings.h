#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

// Reading and writing the INI settings file "Config.ini" the way users of INI
// files expect it: section and key names match case-insensitively, a write
// changes only that key's line, reading never creates the file, and a write
// replaces the file whole or not at all.
namespace quill::settings {

// Buffer size of one read, as the callers' 256-byte buffers: a longer value is
// cut to 255 bytes.
inline constexpr std::size_t kReadBufferSize = 256;

// The settings file: the current working directory followed by "/Config.ini",
// built afresh at every call.
std::string SettingsPath();

// Where a user of the settings file finds it, asked again at every access:
// the file is never cached, and neither is its place. SettingsPath by default.
using SettingsLocation = std::function<std::string()>;

// The value of section/key in the file, or defaultValue (without trailing
// blanks) when the file, the section or the key is missing or unreadable; at
// most kReadBufferSize - 1 bytes, ending before a NUL byte. Blanks around names
// and values are not part of them. Never creates the file.
std::string ReadProfileString(
    std::string_view section, std::string_view key, std::string_view defaultValue, const std::string& path);

// Sets section/key to value, creating the file, the section or the key when
// missing; every other line stays as it was. Returns false, changing nothing,
// when the file cannot be read or written, or when a name is empty or a name or
// the value holds a line break or NUL byte (or ']' in the section, '=' in the key).
bool WriteProfileString(
    std::string_view section, std::string_view key, std::string_view value, const std::string& path);

} // namespace quill::settings
