#pragma once

#include <algorithm>
#include <chrono>

namespace quill::discovery {

// A search has settled when no new answer came for `quiet` after its sweep
// ended, and at the latest `limit` after it.
struct SettleTiming {
    std::chrono::milliseconds quiet { 2000 };
    std::chrono::milliseconds limit { 5000 };
};

// When, counted from the sweep's end, the search settles, given how long after
// the sweep's end its latest answer came (zero for none).
inline std::chrono::milliseconds SettlesAt(const SettleTiming& timing, std::chrono::milliseconds lastAnswer)
{
    return std::min(timing.limit, std::max(lastAnswer, std::chrono::milliseconds::zero()) + timing.quiet);
}

} // namespace quill::discovery
