#include "AdapterOutput.h"

#include "CameraRows.h"
#include "RowJson.h"

#include <QJsonArray>
#include <QJsonObject>

#include <algorithm>
#include <array>

namespace quill::cli {

namespace {

    void WriteJson(std::ostream& out, const std::vector<AdapterRow>& rows)
    {
        QJsonArray adapters;
        for (const AdapterRow& row : rows)
            adapters.append(report::AdapterRowJson(row));
        out << report::JsonDocumentText(
            { { "schema_version", report::kSchemaVersion }, { "adapters", adapters } });
    }

    void WriteTable(std::ostream& out, const std::vector<AdapterRow>& rows)
    {
        using Cells = std::array<std::string, 7>;
        std::vector<Cells> lines { { "NAME", "ADDRESS", "MASK", "GATEWAY", "DNS SERVER", "CARRIER",
            "DEFAULT" } };
        for (const AdapterRow& row : rows) {
            lines.push_back({ row.name, discovery::FormatIpv4(row.address), row.mask,
                row.gateway.empty() ? "-" : row.gateway, row.dnsServer.empty() ? "-" : row.dnsServer,
                row.carrier ? "yes" : "no", row.defaultRoute ? "*" : "" });
        }
        std::array<std::size_t, 7> widths {};
        for (const Cells& line : lines)
            for (std::size_t column = 0; column < widths.size(); ++column)
                widths[column] = std::max(widths[column], line[column].size());
        for (const Cells& line : lines) {
            std::string text;
            for (std::size_t column = 0; column < widths.size(); ++column) {
                text += line[column];
                if (column + 1 < widths.size())
                    text += std::string(widths[column] - line[column].size() + 2, ' ');
            }
            text.erase(text.find_last_not_of(' ') + 1);
            out << text << '\n';
        }
    }

} // namespace

void WriteAdapterRows(std::ostream& out, const std::vector<AdapterRow>& rows, OutputFormat format)
{
    if (format == OutputFormat::Json) {
        WriteJson(out, rows);
    } else if (format == OutputFormat::Csv) {
        out << CsvLine({ "name", "address", "mask", "gateway", "dns_server", "carrier", "default_route" });
        for (const AdapterRow& row : rows)
            out << CsvLine({ row.name, discovery::FormatIpv4(row.address), row.mask, row.gateway,
                row.dnsServer, row.carrier ? "true" : "false", row.defaultRoute ? "true" : "false" });
    } else {
        WriteTable(out, rows);
    }
}

} // namespace quill::cli
