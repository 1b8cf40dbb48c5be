#pragma once

#include "LanguageId.h"

#include <array>

// The search page's own texts per language (the selector's label and entries
// are the language page's). Column headings are not here: they are the same
// in every language.
namespace searchpage {

struct ControlText {
    int controlId;
    LanguageTexts texts;
};

extern const std::array<ControlText, 4> kPageTexts;

} // namespace searchpage
