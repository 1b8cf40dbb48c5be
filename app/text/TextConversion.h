#pragma once

#include "Utf8Validation.h"

#include <QString>

#include <string>
#include <string_view>

namespace quill::text {

// 8-bit UTF-8 to the UI's UTF-16 text, dropping what is not well formed.
QString Utf8ToWide(std::string_view bytes);

// The UI's UTF-16 text to UTF-8, dropping unpaired surrogates.
std::string WideToUtf8(const QString& text);

} // namespace quill::text
