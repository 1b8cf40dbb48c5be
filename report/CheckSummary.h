#pragma once

#include "CheckPlan.h"

#include <string>
#include <vector>

namespace quill::report {

// How many checks ended in each of the three outcomes.
struct VerdictCounts {
    int passed = 0; // without a warning
    int warned = 0;
    int failed = 0;
};

VerdictCounts CountVerdicts(const std::vector<netcheck::CheckRow>& rows);

// "N passed, W with warnings, F failed".
std::string VerdictSummary(const VerdictCounts& counts);

// "PASS", "WARN" or "FAIL", as the command line and the site report show it.
const char* VerdictWord(netcheck::Verdict verdict);

} // namespace quill::report
