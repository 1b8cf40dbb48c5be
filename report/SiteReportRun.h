#pragma once

#include "CheckPlanRun.h"
#include "SiteReport.h"

#include <QObject>
#include <QSaveFile>

#include <memory>

namespace quill::report {

// Completes a site report on the caller's event loop: runs the planned
// checks, adds their rows to the report and writes it into the file.
class SiteReportRun : public QObject {
    Q_OBJECT

public:
    // The file is open for writing; the report holds everything but the checks.
    SiteReportRun(SiteReport report, const netcheck::CheckPlan& plan, const DeviceProbes& probes,
        std::unique_ptr<QSaveFile> file, QObject* parent = nullptr);
    void Start();

Q_SIGNALS:
    // The reason the file could not be written, or empty once it is in place.
    void Finished(const QString& error);

private:
    SiteReport m_report;
    netcheck::CheckPlanRun m_checks;
    std::unique_ptr<QSaveFile> m_file;
};

} // namespace quill::report
