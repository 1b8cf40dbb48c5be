#include "ResultTable.h"

#include "SafeText.h"

namespace quill::discovery {

const char* FindingCode(Finding finding)
{
    switch (finding) {
    case kAddressConflict:
        return "address_conflict";
    case kSenderMismatch:
        return "sender_mismatch";
    case kOffNetwork:
        return "off_network";
    case kDuplicateMac:
        return "duplicate_mac";
    }
    return "";
}

std::string FindingCodes(unsigned findings, char separator)
{
    std::string codes;
    for (const Finding finding : kFindings) {
        if ((findings & finding) == 0)
            continue;
        if (!codes.empty())
            codes += separator;
        codes += FindingCode(finding);
    }
    return codes;
}

std::string TableCell(std::string_view field, char separator)
{
    std::string cell = text::SafeText(field);
    if (!cell.empty() && std::string_view("=+-@\t\r").find(cell.front()) != std::string_view::npos)
        cell.insert(cell.begin(), '\'');
    if (cell.find_first_of(std::string { separator, '"', '\r', '\n' }) == std::string::npos)
        return cell;
    std::string quoted = "\"";
    for (const char c : cell)
        quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + '"';
}

std::string ResultTableText(const std::vector<ResultRow>& rows, char separator, bool withHeader)
{
    std::string text;
    const auto line = [&](std::initializer_list<std::string_view> cells) {
        bool first = true;
        for (const std::string_view cell : cells) {
            if (!first)
                text += separator;
            text += TableCell(cell, separator);
            first = false;
        }
        text += "\r\n";
    };
    if (withHeader)
        line(
            { "No.", "IP Address", "SN", "MAC Address", "Device Name", "F/W Version", "sender", "findings" });
    for (const ResultRow& row : rows) {
        const DeviceRecord& r = row.record;
        line({ std::to_string(row.number), r.ip, r.sn, r.mac, r.device_name, r.fw,
            row.sender.port == 0 ? std::string() : FormatEndpoint(row.sender),
            FindingCodes(row.findings, ';') });
    }
    return text;
}

} // namespace quill::discovery
