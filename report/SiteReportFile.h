#pragma once

#include "SiteReport.h"

#include <QSaveFile>
#include <QString>

#include <string>

namespace quill::report {

// A report file name says its form: .html, else JSON.
bool IsHtmlReportName(const QString& name);

// Writes the report into the open file, HTML or JSON as the file's name
// ends, and puts it in place whole; the reason when it could not, else empty.
std::string CommitSiteReport(QSaveFile& file, const SiteReport& report);

} // namespace quill::report
