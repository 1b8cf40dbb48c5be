#include "ExportFileName.h"

#include <QDir>

namespace searchpage {

QString SuggestedExportPath(const QString& folder, const QDate& day)
{
    return QDir(folder).filePath(QStringLiteral("cameras-%1.csv").arg(day.toString(Qt::ISODate)));
}

QString WithCsvSuffix(const QString& path)
{
    return path.endsWith(QLatin1String(".csv"), Qt::CaseInsensitive) ? path : path + QStringLiteral(".csv");
}

} // namespace searchpage
