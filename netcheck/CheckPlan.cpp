#include "CheckPlan.h"

#include "CheckPlanRun.h"
#include "NetCheckHosts.h"
#include "ProbePort.h"

#include <QEventLoop>

namespace quill::netcheck {

CheckPlan PlanChecks(const GivenHosts& given, const std::string& settingsPath)
{
    CheckPlan plan;
    plan.rcsHost = given.rcs ? *given.rcs : SettingsServer(settingsPath);
    plan.cloudHost = given.cloud ? *given.cloud : PresetCloudHost(settingsPath);
    plan.ntpHost = given.ntp ? *given.ntp : PresetNtpHost(settingsPath);
    return plan;
}

std::vector<CheckRow> RunCheckPlan(
    const CheckPlan& plan, const DeviceProbes& probes, const std::function<void(const CheckRow&)>& onRow)
{
    CheckPlanRun run(plan, probes);
    QEventLoop loop;
    QObject::connect(&run, &CheckPlanRun::RowEnded, &loop, onRow);
    QObject::connect(&run, &CheckPlanRun::Finished, &loop, &QEventLoop::quit);
    run.Start();
    loop.exec();
    return run.Rows();
}

} // namespace quill::netcheck
