#include "CheckPlan.h"

#include "CheckRunner.h"
#include "NetCheckHosts.h"
#include "ProbePort.h"

#include <QEventLoop>

#include <algorithm>
#include <map>

namespace quill::netcheck {

using Runner = CheckRunner;

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
    // The runner's result slots, in the order the page shows them.
    std::map<int, CheckRow> planned;
    if (plan.ports) {
        for (std::size_t slot = 0; slot < probes.lanPorts.size(); ++slot)
            planned[static_cast<int>(slot)] = { "port", plan.rcsHost, probes.lanPorts[slot], {} };
    }
    if (plan.cloud) {
        planned[Runner::kCloudSlot] = { "cloud", plan.cloudHost, probes.cloudPort, {} };
        planned[Runner::kCloudTlsSlot] = { "cloud", plan.cloudHost, probes.cloudTlsPort, {} };
    }
    if (plan.ntp)
        planned[Runner::kNtpSlot] = { "ntp", plan.ntpHost, probes.ntpPort, {} };

    CheckRunner runner(probes);
    QEventLoop loop;
    std::size_t ended = 0;
    QObject::connect(&runner, &CheckRunner::ProbeEnded, &loop, [&](int slot, const ProbeOutcome& outcome) {
        CheckRow& row = planned.at(slot);
        row.outcome = outcome;
        onRow(row);
        if (++ended == planned.size())
            loop.quit();
    });
    if (plan.ports)
        runner.StartCheck(plan.rcsHost);
    if (plan.cloud)
        runner.StartCloud(plan.cloudHost);
    if (plan.ntp)
        runner.StartNtp(plan.ntpHost);
    if (!planned.empty())
        loop.exec();

    std::vector<CheckRow> rows;
    for (const int slot : { 0, 1, 2, 3, Runner::kCloudSlot, Runner::kCloudTlsSlot, Runner::kNtpSlot }) {
        if (planned.contains(slot))
            rows.push_back(planned.at(slot));
    }
    return rows;
}

} // namespace quill::netcheck
