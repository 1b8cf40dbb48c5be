#include "CheckOutput.h"

#include "CameraRows.h"
#include "CheckSummary.h"
#include "ExitStatus.h"
#include "OutcomeText.h"
#include "RowJson.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace quill::cli {

namespace {

    // The outcome's description on one line.
    std::string OneLine(const netcheck::ProbeOutcome& outcome, std::int32_t language)
    {
        std::string text = netcheck::DescribeOutcome(outcome, language);
        for (std::size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', at))
            text.replace(at, 1, "; ");
        return text;
    }

    // The cells of a table line, padded to their columns.
    void WriteColumns(std::ostream& out, std::string check, std::string target, std::string address,
        std::string verdict, const std::string& rest)
    {
        check.resize(std::max<std::size_t>(check.size() + 1, 6), ' ');
        target.resize(std::max<std::size_t>(target.size() + 1, 29), ' ');
        address.resize(std::max<std::size_t>(address.size() + 1, 17), ' ');
        verdict.resize(std::max<std::size_t>(verdict.size() + 1, 8), ' ');
        out << check << target << address << verdict << rest << std::endl;
    }

} // namespace

void WriteCheckHeading(std::ostream& out)
{
    WriteColumns(out, "CHECK", "HOST:PORT", "ADDRESS", "RESULT", "REASON");
}

void WriteCheckLine(std::ostream& out, const CheckRow& row, std::int32_t language)
{
    WriteColumns(out, row.check, TerminalText(row.host) + ":" + std::to_string(row.port),
        row.outcome.address.empty() ? "-" : row.outcome.address,
        report::VerdictWord(netcheck::VerdictOf(row.outcome)), TerminalText(OneLine(row.outcome, language)));
}

void WriteCheckCsv(std::ostream& out, const CheckRow* row, std::int32_t language)
{
    if (!row) {
        out << CsvLine({ "check", "host", "port", "address", "verdict", "passed", "warning", "warning_text",
            "reason", "elapsed_ms", "description" })
            << std::flush;
        return;
    }
    const netcheck::ProbeOutcome& outcome = row->outcome;
    const netcheck::Verdict verdict = netcheck::VerdictOf(outcome);
    const char* warning = verdict == netcheck::Verdict::Warn ? report::WarningKey(outcome.warning) : "";
    out << CsvLine({ row->check, row->host, std::to_string(row->port), outcome.address,
        report::VerdictKey(verdict), outcome.passed ? "true" : "false", warning,
        netcheck::WarningText(outcome, language), report::ReasonKey(outcome.reason),
        std::to_string(outcome.elapsed.count()), OneLine(outcome, language) })
        << std::flush;
}

void WriteCheckJson(std::ostream& out, const std::vector<CheckRow>& rows, std::int32_t language)
{
    QJsonArray checks;
    for (const CheckRow& row : rows)
        checks.append(report::CheckRowJson(row, language));
    const QJsonObject document { { "schema_version", report::kSchemaVersion }, { "checks", checks } };
    out << report::JsonDocumentText(document);
}

int CheckExitStatus(const std::vector<CheckRow>& rows, bool strict)
{
    const report::VerdictCounts counts = report::CountVerdicts(rows);
    return counts.failed > 0 || (strict && counts.warned > 0) ? kExitFailed : kExitPassed;
}

} // namespace quill::cli
