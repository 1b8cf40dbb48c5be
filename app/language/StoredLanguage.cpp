#include "StoredLanguage.h"

#include "ProfileSettings.h"

#include <boost/format.hpp>

#include <cstdlib>

namespace {

constexpr const char* kSection = "system";
constexpr const char* kKey = "LANG";

} // namespace

LanguageId ReadStoredLanguage()
{
    namespace settings = quill::settings;
    const std::string text = settings::ReadProfileString(kSection, kKey, "0", settings::SettingsPath());
    return static_cast<LanguageId>(std::atoi(text.c_str()));
}

void WriteStoredLanguage(LanguageId language)
{
    namespace settings = quill::settings;
    settings::WriteProfileString(
        kSection, kKey, (boost::format("%d") % language).str(), settings::SettingsPath());
}
