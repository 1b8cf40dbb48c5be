#include "CheckRun.h"

#include "CheckPlanRun.h"

#include <QEventLoop>

#include <algorithm>
#include <array>
#include <set>
#include <utility>

namespace quill::cli {

ChecksDone RunChecks(const netcheck::CheckPlan& plan, const DeviceProbes& probes,
    const Interruption& interruption, const std::function<void(const netcheck::CheckRow&)>& onRow)
{
    netcheck::CheckPlanRun run(plan, probes);
    ChecksDone done { {}, run.Rows().size(), false };
    if (Interruption::Requested())
        return { {}, done.planned, true };
    // A probe is one check of one port of one host: check and port name it.
    std::set<std::pair<std::string, int>> ended;
    QEventLoop loop;
    QObject::connect(&run, &netcheck::CheckPlanRun::RowEnded, &loop, [&](const netcheck::CheckRow& row) {
        ended.emplace(row.check, row.port);
        onRow(row);
    });
    QObject::connect(&run, &netcheck::CheckPlanRun::Finished, &loop, &QEventLoop::quit);
    QObject::connect(&interruption, &Interruption::Interrupted, &loop, [&] {
        done.interrupted = true;
        loop.quit();
    });
    run.Start();
    loop.exec();
    for (const netcheck::CheckRow& row : run.Rows()) {
        if (ended.count({ row.check, row.port }))
            done.rows.push_back(row);
    }
    return done;
}

std::string InterruptedText(int language)
{
    switch (language) {
    case 1:
        return "已中斷:";
    case 2:
        return "已中断:";
    default:
        return "Interrupted: ";
    }
}

std::string InterruptedChecksText(const ChecksDone& done, int language)
{
    const auto passed = std::count_if(
        done.rows.begin(), done.rows.end(), [](const netcheck::CheckRow& row) { return row.outcome.passed; });
    const std::string ended = std::to_string(done.rows.size()), planned = std::to_string(done.planned),
                      passing = std::to_string(passed);
    switch (language) {
    case 1:
        return InterruptedText(language) + planned + " 項確認中 " + ended + " 項已結束，" + passing
            + " 項通過";
    case 2:
        return InterruptedText(language) + planned + " 项确认中 " + ended + " 项已结束，" + passing
            + " 项通过";
    default:
        return InterruptedText(language) + ended + " of " + planned + " checks ended, " + passing + " passed";
    }
}

} // namespace quill::cli
