#include "NetCheckHosts.h"

#include "ProfileSettings.h"

#include <string_view>

namespace quill::netcheck {

namespace {

    constexpr std::string_view kSection = "NetCheck";

    // A key that is present but empty would leave its TEST button doing nothing,
    // so it counts as missing. The reader already drops the blanks around values.
    std::string ReadPreset(const std::string& settingsPath, std::string_view key, std::string_view fallback)
    {
        std::string value = settings::ReadProfileString(kSection, key, "", settingsPath);
        return value.empty() ? std::string(fallback) : value;
    }

} // namespace

std::string PresetCloudHost(const std::string& settingsPath)
{
    return ReadPreset(settingsPath, "CloudHost", kDefaultCloudHost);
}

std::string PresetNtpHost(const std::string& settingsPath)
{
    return ReadPreset(settingsPath, "NtpHost", kDefaultNtpHost);
}

} // namespace quill::netcheck
