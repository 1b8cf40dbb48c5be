#pragma once

#include "DeviceRecord.h"
#include "DiscoveryRange.h"

#include <chrono>

#include <string>
#include <string_view>
#include <vector>

namespace quill::discovery {

// What is wrong with a camera's addressing, as one search shows it. Bits, so
// that a row holds any number of them.
enum Finding : unsigned {
    kAddressConflict = 1u << 0, // its IP address is answered by two or more MACs
    kSenderMismatch = 1u << 1, // its answer came from another address than the IP it reports
    kOffNetwork = 1u << 2, // its IP address is outside the searched adapter's network
    kDuplicateMac = 1u << 3, // its MAC answers under two or more IP addresses
};
inline constexpr Finding kFindings[] { kAddressConflict, kSenderMismatch, kOffNetwork, kDuplicateMac };
// "address_conflict", "sender_mismatch", "off_network", "duplicate_mac".
const char* FindingCode(Finding finding);
// The codes of a row's findings, in the order above, joined by `separator`.
std::string FindingCodes(unsigned findings, char separator);

// One row of the search result: one camera with the five fields of its latest
// answer, numbered in the order the cameras first answered.
struct ResultRow {
    int number = 0;
    DeviceRecord record;
    int answers = 1; // since the list was last cleared
    Ipv4Endpoint sender {}; // where the latest answer came from; port 0: not known
    std::chrono::system_clock::time_point lastAnswer {};
    unsigned findings = 0; // Finding bits
};

// The rows as a table text with a header row ("No.", then the five fields,
// then "sender" and "findings", the codes joined by ';'),
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
