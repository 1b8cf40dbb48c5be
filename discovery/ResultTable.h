#pragma once

#include "DeviceRecord.h"
#include "DiscoveryRange.h"

#include <chrono>

#include <string>
#include <string_view>
#include <vector>

namespace quill::discovery {

// One row of the search result: one camera with the five fields of its latest
// answer, numbered in the order the cameras first answered.
struct ResultRow {
    int number = 0;
    DeviceRecord record;
    int answers = 1; // since the list was last cleared
    Ipv4Endpoint sender {}; // where the latest answer came from
    std::chrono::system_clock::time_point lastAnswer {};
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
