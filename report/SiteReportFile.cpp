#include "SiteReportFile.h"

#include "SiteReportHtml.h"
#include "SiteReportJson.h"

#include <sstream>

namespace quill::report {

bool IsHtmlReportName(const QString& name)
{
    return name.endsWith(QStringLiteral(".html"), Qt::CaseInsensitive)
        || name.endsWith(QStringLiteral(".htm"), Qt::CaseInsensitive);
}

std::string CommitSiteReport(QSaveFile& file, const SiteReport& report)
{
    std::ostringstream text;
    if (IsHtmlReportName(file.fileName()))
        WriteSiteReportHtml(text, report);
    else
        WriteSiteReportJson(text, report);
    const std::string bytes = text.str();
    if (file.write(bytes.data(), static_cast<qint64>(bytes.size())) != static_cast<qint64>(bytes.size())
        || !file.commit())
        return file.errorString().toStdString();
    return {};
}

} // namespace quill::report
