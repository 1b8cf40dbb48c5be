#pragma once

#include <cstddef>
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

// The value of section/key in the file, or defaultValue when the file, the
// section or the key is missing; at most kReadBufferSize - 1 bytes.
std::string ReadProfileString(std::string_view section, std::string_view key, std::string_view defaultValue,
    const std::string& path);

// Sets section/key to value, creating the file, the section or the key when
// missing. Returns false when the file cannot be written (nothing is changed then).
bool WriteProfileString(std::string_view section, std::string_view key, std::string_view value,
    const std::string& path);

} // namespace quill::settings
