#include "NetCheckHosts.h"

#include "ProfileSettings.h"

#include <string_view>

namespace quill::netcheck {

namespace {

    constexpr std::string_view kSection = "NetCheck";

    // A key that is present but empty would leave its TEST button doing nothing,
    // so it counts as missing. The reader already drops the blanks around values.
    std::string ReadPreset(std::string_view key, std::string_view fallback)
    {
        std::string value = settings::ReadProfileString(kSection, key, "", settings::SettingsPath());
        return value.empty() ? std::string(fallback) : value;
    }

} // namespace

std::string PresetCloudHost()
{
    return ReadPreset("CloudHost", kDefaultCloudHost);
}

std::string PresetNtpHost()
{
    return ReadPreset("NtpHost", kDefaultNtpHost);
}

} // namespace quill::netcheck
