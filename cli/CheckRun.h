#pragma once

#include "CheckPlan.h"
#include "Interruption.h"

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace quill::cli {

struct ChecksDone {
    std::vector<netcheck::CheckRow> rows; // the probes that ended, in the page's order
    std::size_t planned = 0;
    bool interrupted = false;
};

// The plan's probes at once, as the check page runs them, each row to onRow
// in the page's order (ports, cloud, NTP) as soon as it and every row above it
// have ended, until every probe has ended or Ctrl-C; probes still running then
// are stopped. Needs a QCoreApplication.
ChecksDone RunChecks(const netcheck::CheckPlan& plan, const DeviceProbes& probes,
    const Interruption& interruption, const std::function<void(const netcheck::CheckRow&)>& onRow);

// "Interrupted: ", as the summary of an interrupted command begins.
std::string InterruptedText(int language);

// The line that ends interrupted checks: how many ended and passed.
std::string InterruptedChecksText(const ChecksDone& done, int language);

} // namespace quill::cli
