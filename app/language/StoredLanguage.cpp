#include "StoredLanguage.h"

#include "ProfileSettings.h"

#include <boost/format.hpp>

#include <cstdlib>

namespace {

constexpr const char* kSection = "system";
constexpr const char* kKey = "LANG";

} // namespace

LanguageId ReadStoredLanguage(const std::string& settingsPath)
{
    const std::string text = quill::settings::ReadProfileString(kSection, kKey, "0", settingsPath);
    return static_cast<LanguageId>(std::atoi(text.c_str()));
}

void WriteStoredLanguage(LanguageId language, const std::string& settingsPath)
{
    quill::settings::WriteProfileString(kSection, kKey, (boost::format("%d") % language).str(), settingsPath);
}
