#pragma once

#include "DiscoveryListener.h"
#include "DiscoveryPorts.h"
#include "DiscoveryRange.h"
#include "ResultTable.h"
#include "SearchStatus.h"
#include "SettleRule.h"

#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace quill::discovery {

// One search as a front end without a window makes it.
struct SearchPlan {
    DiscoveryRange range;
    DiscoveryPorts ports {};
    SettleTiming settle {};
    // Listen this long after the sweep instead of until the search settles.
    std::optional<std::chrono::milliseconds> wait;
    // The adapter searched from, as the user knows it, and its address.
    std::string adapterLabel;
    std::optional<Ipv4Octets> adapterAddress;
    std::filesystem::path neighbourTable = "/proc/net/arp";
};

struct SearchResult {
    ListenerStart listener;
    SweepOutcome sweep;
    // One row per camera (address and MAC), numbered in the order they first answered.
    std::vector<ResultRow> cameras;
    // Why no camera answered, when none did.
    std::optional<std::pair<NoAnswerCause, SearchFacts>> diagnosis;
};

// Listens on the listen port, sweeps the range once and waits for answers.
// onCamera hears of each new camera as it answers, and onProgress of the
// count about five times a second; both run on the calling thread. A listener
// that cannot start ends the search at once, without a sweep.
SearchResult RunSearch(const SearchPlan& plan, const std::function<void(const ResultRow&)>& onCamera,
    const std::function<void(int cameras)>& onProgress);

// What the search page's status line says once such a search has settled:
// the count of cameras and queries, or why no camera answered.
std::string SummaryText(const SearchResult& result, int language);

} // namespace quill::discovery
