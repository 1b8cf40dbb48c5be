#pragma once

#include "LanguageId.h"

#include <QString>

#include <array>

namespace quill::app {

// The window title, the same in every language.
inline constexpr char kMainWindowTitle[] = "Tessory Tool";

inline constexpr int kTabCount = 2;

// Tab labels, one row per tab. Language numbers other than the two Chinese
// ones take the English labels.
inline constexpr std::array<LanguageTexts, kTabCount> kTabLabels { {
    { "ORBEK Zeruru", "尋找ORBEK", "寻找ORBEK" },
    { "Network Check", "網路確認", "网路确认" },
} };

inline QString TabLabel(int tab, LanguageId language)
{
    return LanguageText(kTabLabels[static_cast<std::size_t>(tab)], language);
}

} // namespace quill::app
