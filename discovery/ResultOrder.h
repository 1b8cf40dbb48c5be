#pragma once

#include <string_view>

// Orders of the result list's columns, for its header sort: negative when the
// first text sorts first. A text that does not fit a column's form (a camera
// may write anything) sorts after those that do, by its bytes.
namespace quill::discovery {

int CompareNumberTexts(std::string_view a, std::string_view b); // "No.": 9 before 10
int CompareAddressTexts(std::string_view a, std::string_view b); // 198.18.0.9 before 198.18.0.10
int CompareMacTexts(std::string_view a, std::string_view b); // by the 48-bit value, any separators
int CompareVersionTexts(std::string_view a, std::string_view b); // 1.9 before 1.10

} // namespace quill::discovery
