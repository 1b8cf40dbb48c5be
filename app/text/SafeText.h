#pragma once

#include <string>
#include <string_view>

// Text from outside (a camera's fields, a server's words) made safe to show
// and to write: no character in it can move a terminal's cursor, end a log
// record or a CSV row, or turn the text that follows it around.
namespace quill::text {

// The characters that never reach a screen, a file or a log as themselves:
// the C0 controls, DEL, the C1 controls, the bidirectional controls (U+061C,
// U+200E, U+200F, U+202A to U+202E, U+2066 to U+2069) and the line and
// paragraph separators U+2028 and U+2029.
bool IsHiddenControl(char32_t codePoint);

// The bytes as well-formed UTF-8 (what is not well formed is dropped) with
// each hidden control written visibly as "<U+XXXX>", such as "<U+202E>" or
// "<U+000A>", so that the reader sees that it was there and which it was.
std::string SafeText(std::string_view bytes);

} // namespace quill::text
