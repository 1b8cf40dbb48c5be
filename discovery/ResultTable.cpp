#include "ResultTable.h"

#include "SafeText.h"

namespace quill::discovery {

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
        line({ "No.", "IP Address", "SN", "MAC Address", "Device Name", "F/W Version" });
    for (const ResultRow& row : rows) {
        const DeviceRecord& r = row.record;
        line({ std::to_string(row.number), r.ip, r.sn, r.mac, r.device_name, r.fw });
    }
    return text;
}

} // namespace quill::discovery
