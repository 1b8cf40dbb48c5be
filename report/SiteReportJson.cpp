#include "SiteReportJson.h"

#include "ReportText.h"
#include "RowJson.h"

#include <QJsonArray>
#include <QJsonDocument>

namespace quill::report {

void WriteSiteReportJson(std::ostream& out, const SiteReport& report)
{
    QJsonArray cameras;
    for (const discovery::ResultRow& row : report.cameras)
        cameras.append(CameraRowJson(row));
    QJsonArray checks;
    for (const netcheck::CheckRow& row : report.checks)
        checks.append(CheckRowJson(row, report.language));
    const QJsonObject discovery { { "range_begin",
                                      QString::fromStdString(discovery::FormatIpv4(report.rangeBegin)) },
        { "range_end", QString::fromStdString(discovery::FormatIpv4(report.rangeEnd)) },
        { "summary", QString::fromStdString(report.discoverySummary) }, { "cameras", cameras } };
    const QJsonObject document { { "schema_version", kSchemaVersion },
        { "generated_at", QString::fromStdString(TimestampText(report.generatedAt)) },
        { "pc_name", QString::fromStdString(report.pcName) },
        { "os_name", QString::fromStdString(report.osName) }, { "language", LanguageCode(report.language) },
        { "findings", ProblemsJson(report.findings) },
        { "adapter", report.adapter ? QJsonValue(AdapterRowJson(*report.adapter)) : QJsonValue() },
        { "discovery", discovery }, { "checks", checks } };
    out << JsonDocumentText(document);
}

} // namespace quill::report
