#include "CheckOutput.h"

#include "CameraRows.h"
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

} // namespace

void WriteCheckLine(std::ostream& out, const CheckRow& row, std::int32_t language)
{
    std::string target = row.host + ":" + std::to_string(row.port);
    target.resize(std::max<std::size_t>(target.size(), 28), ' ');
    std::string check = row.check;
    check.resize(6, ' ');
    out << check << target << ' ' << (row.outcome.passed ? "PASS" : "FAIL") << "  "
        << OneLine(row.outcome, language) << std::endl;
}

void WriteCheckCsv(std::ostream& out, const CheckRow* row, std::int32_t language)
{
    if (!row) {
        out << CsvLine({ "check", "host", "port", "passed", "reason", "elapsed_ms", "description" })
            << std::flush;
        return;
    }
    out << CsvLine({ row->check, row->host, std::to_string(row->port), row->outcome.passed ? "true" : "false",
        report::ReasonKey(row->outcome.reason), std::to_string(row->outcome.elapsed.count()),
        OneLine(row->outcome, language) })
        << std::flush;
}

void WriteCheckJson(std::ostream& out, const std::vector<CheckRow>& rows, std::int32_t language)
{
    QJsonArray checks;
    for (const CheckRow& row : rows)
        checks.append(report::CheckRowJson(row, language));
    const QJsonObject document { { "schema_version", 1 }, { "checks", checks } };
    out << QJsonDocument(document).toJson(QJsonDocument::Indented).toStdString();
}

} // namespace quill::cli
