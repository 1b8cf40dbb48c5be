#pragma once

#include <QDate>
#include <QString>

namespace searchpage {

// Where an export of the results is offered: "cameras-<YYYY-MM-DD>.csv" in
// the folder.
QString SuggestedExportPath(const QString& folder, const QDate& day);
// The path with ".csv" added unless it already ends so (in any case).
QString WithCsvSuffix(const QString& path);

} // namespace searchpage
