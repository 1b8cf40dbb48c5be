#include "CheckPlanRun.h"

#include <QTimer>

namespace quill::netcheck {

CheckPlanRun::CheckPlanRun(CheckPlan plan, DeviceProbes probes, QObject* parent)
    : QObject(parent)
    , m_plan(std::move(plan))
    , m_runner(probes)
{
    if (m_plan.ports) {
        for (std::size_t slot = 0; slot < probes.lanPorts.size(); ++slot)
            m_planned[static_cast<int>(slot)] = { "port", m_plan.rcsHost, probes.lanPorts[slot], {} };
    }
    if (m_plan.cloud) {
        m_planned[CheckRunner::kCloudSlot] = { "cloud", m_plan.cloudHost, probes.cloudPort, {} };
        m_planned[CheckRunner::kCloudTlsSlot] = { "cloud", m_plan.cloudHost, probes.cloudTlsPort, {} };
    }
    if (m_plan.ntp)
        m_planned[CheckRunner::kNtpSlot] = { "ntp", m_plan.ntpHost, probes.ntpPort, {} };

    for (const int slot :
        { 0, 1, 2, 3, CheckRunner::kCloudSlot, CheckRunner::kCloudTlsSlot, CheckRunner::kNtpSlot }) {
        if (m_planned.contains(slot))
            m_order.push_back(slot);
    }
    connect(&m_runner, &CheckRunner::ProbeEnded, this, [this](int slot, const ProbeOutcome& outcome) {
        m_planned.at(slot).outcome = outcome;
        m_ended[slot] = true;
        while (m_told < m_order.size() && m_ended[m_order[m_told]])
            Q_EMIT RowEnded(m_planned.at(m_order[m_told++]));
        if (m_told == m_order.size())
            Q_EMIT Finished();
    });
}

void CheckPlanRun::Start()
{
    if (m_planned.empty()) {
        QTimer::singleShot(0, this, &CheckPlanRun::Finished);
        return;
    }
    if (m_plan.ports)
        m_runner.StartCheck(m_plan.rcsHost);
    if (m_plan.cloud)
        m_runner.StartCloud(m_plan.cloudHost);
    if (m_plan.ntp)
        m_runner.StartNtp(m_plan.ntpHost);
}

std::vector<CheckRow> CheckPlanRun::Rows() const
{
    std::vector<CheckRow> rows;
    for (const int slot : m_order)
        rows.push_back(m_planned.at(slot));
    return rows;
}

} // namespace quill::netcheck
