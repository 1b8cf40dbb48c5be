#include "SiteReportRun.h"

#include "SiteReportFile.h"

namespace quill::report {

SiteReportRun::SiteReportRun(SiteReport report, const netcheck::CheckPlan& plan, const DeviceProbes& probes,
    std::unique_ptr<QSaveFile> file, QObject* parent)
    : QObject(parent)
    , m_report(std::move(report))
    , m_checks(plan, probes)
    , m_file(std::move(file))
{
    connect(&m_checks, &netcheck::CheckPlanRun::Finished, this, [this] {
        m_report.checks = m_checks.Rows();
        Q_EMIT Finished(QString::fromStdString(CommitSiteReport(*m_file, m_report)));
    });
}

void SiteReportRun::Start()
{
    m_checks.Start();
}

} // namespace quill::report
