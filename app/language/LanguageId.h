#pragma once

#include <QString>

#include <array>
#include <cstdint>

// The number of a user-interface language: the index of the entry in a page's
// language selector. -1 is what a selector reports with no entry selected;
// values other than 0, 1 and 2 change no text.
using LanguageId = std::int32_t;

inline constexpr LanguageId kEnglish = 0;
inline constexpr LanguageId kTraditionalChinese = 1;
inline constexpr LanguageId kSimplifiedChinese = 2;
inline constexpr int kLanguageCount = 3;

constexpr bool IsLanguage(LanguageId language)
{
    return language >= 0 && language < kLanguageCount;
}

// One user-interface text in every language, UTF-8, indexed by LanguageId.
using LanguageTexts = std::array<const char*, kLanguageCount>;

// The text for a language; English for anything that is not a language.
inline QString LanguageText(const LanguageTexts& texts, LanguageId language)
{
    return QString::fromUtf8(texts[static_cast<std::size_t>(IsLanguage(language) ? language : kEnglish)]);
}
