#pragma once

#include <string>

// The host names the network check page starts with. A site can preset them
// in its settings file ("Config.ini"), section "NetCheck", keys "CloudHost"
// and "NtpHost"; the program only reads these keys.
namespace quill::netcheck {

// A placeholder under the reserved ".example" domain until the name of the
// product's cloud portal is known: it can never reach anyone's server.
inline constexpr const char* kDefaultCloudHost = "cloud.tessory.example";
inline constexpr const char* kDefaultNtpHost = "pool.ntp.org";

// The preset of the settings file at settingsPath, or the default when the key
// is missing or holds nothing but blanks.
std::string PresetCloudHost(const std::string& settingsPath);
std::string PresetNtpHost(const std::string& settingsPath);

} // namespace quill::netcheck
