#pragma once

#include <QDateTime>

#include <string>
#include <string_view>

namespace quill::report {

// Bytes from a camera or a server as HTML text: well-formed UTF-8 only, with
// control and bidirectional characters written visibly ("<U+202E>"), and
// < > & and the double quote escaped. Safe in element content and in quoted
// attributes.
std::string HtmlText(std::string_view bytes);

// "2026-12-06T14:51:05+01:00": the time as it was taken, with its UTC offset.
std::string TimestampText(const QDateTime& time);

// "en", "zh-TW" or "zh-CN", as the command line's --lang; any other number is English.
const char* LanguageCode(int language);

} // namespace quill::report
