#pragma once

#include <QString>

#include <string>
#include <string_view>

namespace quill::text {

// Keeps every well-formed UTF-8 character of the bytes and drops every
// sequence that is not well formed (stray continuation bytes, overlong forms,
// surrogates, code points above U+10FFFF, truncated sequences).
std::string FilterUtf8(std::string_view bytes);

// 8-bit UTF-8 to the UI's UTF-16 text, dropping what is not well formed.
QString Utf8ToWide(std::string_view bytes);

// The UI's UTF-16 text to UTF-8, dropping unpaired surrogates.
std::string WideToUtf8(const QString& text);

} // namespace quill::text
