#pragma once

#include "DeviceRecord.h"

#include <string>
#include <string_view>
#include <vector>

namespace quill::discovery {

// One row of the search result: an answer's five fields and its arrival number.
struct ResultRow {
    int number = 0;
    DeviceRecord record;
};

// The rows as a table text with a header row ("No.", then the five fields),
// cells joined by the separator (',' for CSV, '\t' for the clipboard) and rows
// ended by CRLF, as RFC 4180 has it. Cells are UTF-8 (bytes that are not are
// dropped) with control and bidirectional characters written visibly, as
// "<U+202E>" (text::SafeText); a cell holding the separator, a quote, CR or LF is quoted with its
// quotes doubled; a cell a spreadsheet would run as a formula (one starting
// with = + - @, tab or CR) begins with an apostrophe.
std::string ResultTableText(const std::vector<ResultRow>& rows, char separator, bool withHeader = true);

// One cell as ResultTableText writes it.
std::string TableCell(std::string_view field, char separator);

} // namespace quill::discovery
