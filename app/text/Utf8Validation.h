#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace quill::text {

// Length of the well-formed UTF-8 character that starts at bytes[offset]
// (1 to 4), or 0 when the bytes there do not start one: a stray continuation
// byte, an overlong form, a surrogate, a code point above U+10FFFF or a
// sequence cut short by the end of the bytes or by a byte that does not fit.
std::size_t WellFormedCharLength(std::string_view bytes, std::size_t offset);

// The code point of the well-formed character of `length` bytes (as
// WellFormedCharLength gave it) that starts at bytes[offset].
char32_t DecodeWellFormed(std::string_view bytes, std::size_t offset, std::size_t length);

// Keeps every well-formed UTF-8 character of the bytes and drops every
// sequence that is not well formed (stray continuation bytes, overlong forms,
// surrogates, code points above U+10FFFF, truncated sequences).
std::string FilterUtf8(std::string_view bytes);

} // namespace quill::text
