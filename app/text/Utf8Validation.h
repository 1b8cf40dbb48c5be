#pragma once

#include <cstddef>
#include <string_view>

namespace quill::text {

// Length of the well-formed UTF-8 character that starts at bytes[offset]
// (1 to 4), or 0 when the bytes there do not start one: a stray continuation
// byte, an overlong form, a surrogate, a code point above U+10FFFF or a
// sequence cut short by the end of the bytes or by a byte that does not fit.
std::size_t WellFormedCharLength(std::string_view bytes, std::size_t offset);

} // namespace quill::text
