#include "ProfileSettings.h"

#include "FileAccess.h"
#include "IniText.h"

#include <filesystem>
#include <system_error>

namespace quill::settings {

namespace {

    // What a caller's fixed buffer would hold: the text up to a NUL byte, at most
    // kReadBufferSize - 1 bytes.
    std::string FitReadBuffer(std::string_view value)
    {
        value = value.substr(0, value.find('\0'));
        return std::string(value.substr(0, kReadBufferSize - 1));
    }

    // Windows drops trailing blanks of the default value.
    std::string_view WithoutTrailingBlanks(std::string_view text)
    {
        while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
            text.remove_suffix(1);
        return text;
    }

} // namespace

std::string SettingsPath()
{
    std::error_code error;
    const std::filesystem::path workingDirectory = std::filesystem::current_path(error);
    // Without a readable working directory the relative name still means
    // "Config.ini in the working directory".
    if (error)
        return "Config.ini";
    return workingDirectory.string() + "/Config.ini";
}

std::string ReadProfileString(
    std::string_view section, std::string_view key, std::string_view defaultValue, const std::string& path)
{
    section = TrimBlanks(section);
    key = TrimBlanks(key);
    const std::string fallback = FitReadBuffer(WithoutTrailingBlanks(defaultValue));
    if (!IsValidSectionName(section) || !IsValidKeyName(key))
        return fallback;

    const FileBytes file = ReadFileBytes(path);
    if (file.status != ReadStatus::Read)
        return fallback;
    const std::optional<std::string_view> value = FindIniValue(file.bytes, section, key);
    return value ? FitReadBuffer(*value) : fallback;
}

bool WriteProfileString(
    std::string_view section, std::string_view key, std::string_view value, const std::string& path)
{
    section = TrimBlanks(section);
    key = TrimBlanks(key);
    if (!IsValidSectionName(section) || !IsValidKeyName(key) || !IsValidValue(value))
        return false;

    const FileBytes file = ReadFileBytes(path);
    // An unreadable file is never replaced: its contents would be lost.
    if (file.status == ReadStatus::Failed)
        return false;
    return ReplaceFileContents(path, WithIniValue(file.bytes, section, key, value));
}

} // namespace quill::settings
