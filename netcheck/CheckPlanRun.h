#pragma once

#include "CheckPlan.h"
#include "CheckRunner.h"

#include <QObject>

#include <map>
#include <vector>

namespace quill::netcheck {

// One run of a check plan on the caller's event loop: the planned probes at
// once, as the check page runs them, the rows told in the page's order, each
// as soon as it and every row above it have ended.
class CheckPlanRun : public QObject {
    Q_OBJECT

public:
    CheckPlanRun(CheckPlan plan, DeviceProbes probes, QObject* parent = nullptr);

    // Starts every planned probe; Finished follows at once for an empty plan,
    // from the event loop.
    void Start();
    // The rows in the page's order (ports, cloud, NTP), complete once Finished.
    std::vector<CheckRow> Rows() const;

Q_SIGNALS:
    void RowEnded(const quill::netcheck::CheckRow& row);
    void Finished();

private:
    CheckPlan m_plan;
    CheckRunner m_runner;
    // The runner's result slots that the plan fills, and those in row order.
    std::map<int, CheckRow> m_planned;
    std::vector<int> m_order;
    std::map<int, bool> m_ended;
    std::size_t m_told = 0;
};

} // namespace quill::netcheck
