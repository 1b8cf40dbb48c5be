#include "CheckSummary.h"

namespace quill::report {

VerdictCounts CountVerdicts(const std::vector<netcheck::CheckRow>& rows)
{
    VerdictCounts counts;
    for (const netcheck::CheckRow& row : rows) {
        switch (netcheck::VerdictOf(row.outcome)) {
        case netcheck::Verdict::Pass:
            ++counts.passed;
            break;
        case netcheck::Verdict::Warn:
            ++counts.warned;
            break;
        case netcheck::Verdict::Fail:
            ++counts.failed;
            break;
        }
    }
    return counts;
}

std::string VerdictSummary(const VerdictCounts& counts)
{
    return std::to_string(counts.passed) + " passed, " + std::to_string(counts.warned) + " with warnings, "
        + std::to_string(counts.failed) + " failed";
}

const char* VerdictWord(netcheck::Verdict verdict)
{
    switch (verdict) {
    case netcheck::Verdict::Pass:
        return "PASS";
    case netcheck::Verdict::Warn:
        return "WARN";
    case netcheck::Verdict::Fail:
        break;
    }
    return "FAIL";
}

} // namespace quill::report
