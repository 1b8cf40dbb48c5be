#include "SiteReportHtml.h"

#include "CheckSummary.h"
#include "OutcomeText.h"
#include "ReportText.h"

#include <boost/format.hpp>

#include <string>
#include <vector>

namespace quill::report {

namespace {

    // Sized for A4 portrait: the body never grows wider than the page inside
    // its margins, long camera or certificate texts wrap, and no table row is
    // split across two pages.
    constexpr const char* kStyle = R"(
@page { size: A4; margin: 15mm 12mm; }
body { font-family: "DejaVu Sans", "Noto Sans CJK TC", "Noto Sans CJK SC", Arial, sans-serif;
  font-size: 10pt; color: #000; max-width: 186mm; margin: 0 auto; }
h1 { font-size: 16pt; margin: 0 0 3mm; }
h2 { font-size: 12pt; margin: 6mm 0 2mm; page-break-after: avoid; break-after: avoid; }
table { border-collapse: collapse; width: 100%; margin: 0 0 2mm; font-size: 9pt; }
thead { display: table-header-group; }
tr { page-break-inside: avoid; break-inside: avoid; }
th, td { border: 0.5pt solid #999; padding: 1mm 1.5mm; text-align: left; vertical-align: top;
  overflow-wrap: anywhere; }
th { background: #eee; }
table.list { table-layout: fixed; }
table.facts th { width: 30%; }
td.pass { color: #176b17; font-weight: bold; }
td.fail { color: #b00000; font-weight: bold; }
td.warn { color: #b35900; font-weight: bold; } /* the window's warning colour */
tr.finding td { background: #ffe9cc; } /* the camera list's warm background */
ul.findings li { margin: 0 0 1mm; }
p.summary { white-space: pre-line; }
@media screen { body { padding: 8mm; } }
)";

    struct Cell {
        std::string html; // already escaped
        const char* cssClass = nullptr;
    };
    struct Row : std::vector<Cell> {
        using std::vector<Cell>::vector;
        const char* rowClass = nullptr;
    };

    struct Column {
        const char* heading;
        int percent; // of the page's width
    };

    // Fixed column widths: a long camera text wraps in its own column and
    // never squeezes an address into pieces.
    void Table(std::ostream& out, const char* id, std::initializer_list<Column> columns,
        const std::vector<Row>& rows)
    {
        out << "<table class=\"list\" id=\"" << id << "\">\n<colgroup>";
        for (const Column& column : columns)
            out << "<col style=\"width: " << column.percent << "%\" />";
        out << "</colgroup>\n<thead><tr>";
        for (const Column& column : columns)
            out << "<th>" << column.heading << "</th>";
        out << "</tr></thead>\n<tbody>\n";
        for (const Row& row : rows) {
            out << (row.rowClass ? "<tr class=\"" + std::string(row.rowClass) + "\">" : "<tr>");
            for (const Cell& cell : row)
                out << (cell.cssClass ? "<td class=\"" + std::string(cell.cssClass) + "\">" : "<td>")
                    << cell.html << "</td>";
            out << "</tr>\n";
        }
        out << "</tbody>\n</table>\n";
    }

    // A table of named facts, one per row.
    void Facts(
        std::ostream& out, const char* id, const std::vector<std::pair<const char*, std::string>>& facts)
    {
        out << "<table class=\"facts\" id=\"" << id << "\">\n<tbody>\n";
        for (const auto& [name, html] : facts)
            out << "<tr><th>" << name << "</th><td>" << html << "</td></tr>\n";
        out << "</tbody>\n</table>\n";
    }

    std::string YesNo(bool value)
    {
        return value ? "yes" : "no";
    }

    std::string Target(const netcheck::CheckRow& row)
    {
        return (row.host.empty() ? std::string("(none)") : HtmlText(row.host)) + ":"
            + std::to_string(row.port);
    }

    std::string CheckName(const std::string& check)
    {
        if (check == "port")
            return "Server port";
        if (check == "cloud")
            return "Cloud (HTTPS)";
        return check == "ntp" ? "Time server (NTP)" : HtmlText(check);
    }

    void Heading(std::ostream& out, const SiteReport& report)
    {
        const std::string time = HtmlText(TimestampText(report.generatedAt));
        out << "<h1>Site report</h1>\n";
        Facts(out, "pc",
            { { "Date and time", time }, { "PC name", HtmlText(report.pcName) },
                { "Operating system", HtmlText(report.osName) } });
    }

    void Adapter(std::ostream& out, const SiteReport& report)
    {
        out << "<h2>Network adapter</h2>\n";
        if (!report.adapter) {
            out << "<p>No adapter was selected.</p>\n";
            return;
        }
        const netinfo::AdapterRow& adapter = *report.adapter;
        Facts(out, "adapter",
            { { "Name", HtmlText(adapter.name) },
                { "IPv4 address", HtmlText(discovery::FormatIpv4(adapter.address)) },
                { "Subnet mask", HtmlText(adapter.mask) }, { "Gateway", HtmlText(adapter.gateway) },
                { "DNS server", HtmlText(adapter.dnsServer) }, { "Link", adapter.carrier ? "up" : "down" },
                { "Default route", YesNo(adapter.defaultRoute) } });
    }

    // Row numbers as the findings name them: "rows 2, 5".
    std::string RowNumbers(const std::vector<int>& numbers)
    {
        std::string text = numbers.size() == 1 ? "row " : "rows ";
        for (std::size_t i = 0; i < numbers.size(); ++i)
            text += (i ? ", " : "") + std::to_string(numbers[i]);
        return text;
    }

    void Findings(std::ostream& out, const SiteReport& report)
    {
        if (report.findings.empty())
            return;
        out << "<h2>Findings</h2>\n<ul class=\"findings\" id=\"findings\">\n";
        for (const discovery::CameraProblem& problem : report.findings) {
            out << "<li data-code=\"" << discovery::FindingCode(problem.finding) << "\">"
                << HtmlText(problem.text) << " (" << RowNumbers(problem.numbers) << ")</li>\n";
        }
        out << "</ul>\n";
    }

    void Cameras(std::ostream& out, const SiteReport& report)
    {
        out << "<h2>Cameras</h2>\n";
        if (report.cameras.empty()) {
            out << "<p>No camera answered.</p>\n";
            return;
        }
        std::vector<Row> rows;
        for (const discovery::ResultRow& camera : report.cameras) {
            const discovery::DeviceRecord& record = camera.record;
            // A row with a finding is marked: "!" beside its number and a warm background.
            rows.push_back({ { std::to_string(camera.number) + (camera.findings ? " !" : "") },
                { HtmlText(record.ip) }, { HtmlText(record.sn) }, { HtmlText(record.mac) },
                { HtmlText(record.device_name) }, { HtmlText(record.fw) } });
            if (camera.findings)
                rows.back().rowClass = "finding";
        }
        Table(out, "cameras",
            { { "No.", 6 }, { "IP Address", 16 }, { "Serial number", 17 }, { "MAC Address", 19 },
                { "Device name", 27 }, { "F/W Version", 15 } },
            rows);
    }

    void Discovery(std::ostream& out, const SiteReport& report)
    {
        out << "<h2>Discovery summary</h2>\n<p>Searched range: " << discovery::FormatIpv4(report.rangeBegin)
            << " to " << discovery::FormatIpv4(report.rangeEnd) << "</p>\n<p class=\"summary\">"
            << HtmlText(report.discoverySummary) << "</p>\n";
    }

    void Checks(std::ostream& out, const SiteReport& report)
    {
        out << "<h2>Network checks</h2>\n";
        if (report.checks.empty()) {
            out << "<p>No check was run.</p>\n";
            return;
        }
        std::vector<Row> rows;
        for (const netcheck::CheckRow& check : report.checks) {
            const netcheck::ProbeOutcome& outcome = check.outcome;
            const netcheck::Verdict verdict = netcheck::VerdictOf(outcome);
            static constexpr const char* kClasses[] { "pass", "warn", "fail" };
            // The warning leads, as in the window's tooltip.
            std::string reason = netcheck::WarningText(outcome, report.language);
            reason += (reason.empty() ? "" : "; ") + netcheck::ReasonText(outcome, report.language);
            rows.push_back({ { CheckName(check.check) }, { Target(check) }, { HtmlText(outcome.address) },
                { VerdictWord(verdict), kClasses[static_cast<std::size_t>(verdict)] }, { HtmlText(reason) },
                { std::to_string(outcome.elapsed.count()) } });
        }
        out << "<p id=\"check-summary\">" << VerdictSummary(CountVerdicts(report.checks)) << "</p>\n";
        Table(out, "checks",
            { { "Check", 14 }, { "Host:port", 22 }, { "Address", 15 }, { "Result", 8 }, { "Reason", 33 },
                { "Time (ms)", 8 } },
            rows);
    }

    void TimeServer(std::ostream& out, const SiteReport& report)
    {
        std::vector<Row> rows;
        for (const netcheck::CheckRow& check : report.checks) {
            if (const auto& ntp = check.outcome.ntp) {
                rows.push_back({ { Target(check) }, { (boost::format("%+.1f") % ntp->offsetMs).str() },
                    { std::to_string(ntp->stratum) }, { (boost::format("%.1f") % ntp->roundTripMs).str() },
                    { HtmlText(ntp->referenceId) } });
            }
        }
        out << "<h2>Time server</h2>\n";
        if (rows.empty())
            out << "<p>No time server answered.</p>\n";
        else
            Table(out, "ntp",
                { { "Host:port", 30 }, { "Offset (ms)", 16 }, { "Stratum", 12 }, { "Round trip (ms)", 18 },
                    { "Reference", 24 } },
                rows);
    }

    void Certificates(std::ostream& out, const SiteReport& report)
    {
        std::vector<Row> rows;
        for (const netcheck::CheckRow& check : report.checks) {
            if (const auto& certificate = check.outcome.certificate) {
                rows.push_back({ { Target(check) }, { HtmlText(certificate->subject) },
                    { HtmlText(certificate->issuer) }, { HtmlText(certificate->notBefore) },
                    { HtmlText(certificate->notAfter) },
                    { std::to_string(certificate->daysLeft), certificate->daysLeft < 0 ? "fail" : nullptr },
                    { YesNo(certificate->hostMatches), certificate->hostMatches ? nullptr : "fail" },
                    { YesNo(certificate->selfSigned) } });
            }
        }
        out << "<h2>Certificates</h2>\n";
        if (rows.empty())
            out << "<p>No certificate was read.</p>\n";
        else
            Table(out, "certificates",
                { { "Host:port", 16 }, { "Subject", 17 }, { "Issuer", 16 }, { "Valid from", 13 },
                    { "Valid until", 13 }, { "Days left", 7 }, { "Host match", 8 }, { "Self-signed", 10 } },
                rows);
    }

} // namespace

void WriteSiteReportHtml(std::ostream& out, const SiteReport& report)
{
    // Void elements are closed as in XML, so that an XML reader can check the page too.
    out << "<!DOCTYPE html>\n<html lang=\"" << LanguageCode(report.language) << "\">\n<head>\n"
        << "<meta charset=\"utf-8\" />\n<title>Site report " << HtmlText(report.pcName) << ' '
        << HtmlText(TimestampText(report.generatedAt)) << "</title>\n<style>" << kStyle
        << "</style>\n</head>\n<body>\n";
    Heading(out, report);
    Findings(out, report);
    Adapter(out, report);
    Cameras(out, report);
    Discovery(out, report);
    Checks(out, report);
    TimeServer(out, report);
    Certificates(out, report);
    out << "</body>\n</html>\n";
}

} // namespace quill::report
