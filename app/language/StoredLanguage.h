#pragma once

#include "LanguageId.h"

#include <string>

// The language kept in the settings file at settingsPath ("Config.ini",
// section "system", key "LANG"), read and written afresh at every use, never
// cached.

// The stored number, read with atoi's rules: "0" when the file, the section or
// the key is missing, 0 for a text without a leading number.
LanguageId ReadStoredLanguage(const std::string& settingsPath);

// Writes the number as decimal text ("-1" included). A file that cannot be
// written is not reported: the language still changes for this run.
void WriteStoredLanguage(LanguageId language, const std::string& settingsPath);
