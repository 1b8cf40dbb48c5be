#include "ChineseFont.h"

#include <QFontDatabase>
#include <QStringList>

bool InstalledFontShows(LanguageId language)
{
    if (language != kTraditionalChinese && language != kSimplifiedChinese)
        return true;
    const auto script = language == kTraditionalChinese ? QFontDatabase::TraditionalChinese
                                                        : QFontDatabase::SimplifiedChinese;
    return !QFontDatabase::families(script).isEmpty();
}
