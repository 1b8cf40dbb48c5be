#pragma once

#include "LanguageId.h"

// Whether an installed font can show the language's Chinese script; English
// needs no such font and always can.
bool InstalledFontShows(LanguageId language);

// Said once when a Chinese language is chosen that no installed font can
// show. The package's name stays in Latin letters, which show regardless.
inline constexpr LanguageTexts kNoChineseFontText {
    "No installed font shows Chinese: install the package fonts-noto-cjk",
    "沒有可顯示中文的字型，請安裝套件 fonts-noto-cjk",
    "没有可显示中文的字体，请安装软件包 fonts-noto-cjk",
};
