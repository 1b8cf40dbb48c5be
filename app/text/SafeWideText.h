#pragma once

#include <QString>

#include <string_view>

namespace quill::text {

// Text for a widget (a list cell, a tooltip, a message) as SafeText makes it:
// well-formed only, each hidden control written as "<U+XXXX>".
QString SafeWideText(std::string_view utf8);
// The same for text already in the UI's UTF-16; unpaired surrogates are dropped.
QString SafeWideText(const QString& text);

} // namespace quill::text
