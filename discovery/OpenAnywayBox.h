#pragma once

#include "LanguageId.h"

#include <QString>

class QWidget;

// The program's yes-or-no box before opening a camera's web page that may not
// load: captioned with the application name, its buttons in the language,
// "No" the default. True when the user chose "Yes".
bool AskOpenAnyway(QWidget* parent, const QString& question, LanguageId language);
