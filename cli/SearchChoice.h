#pragma once

#include "AdapterRows.h"
#include "CommandLine.h"
#include "DiscoveryEngine.h"

#include <chrono>

#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace quill::cli {

// The search an invocation asks for on this PC's adapters: --range as typed,
// else the whole /24 of --adapter, else of the default route's adapter (or
// the first adapter discovery could use, or any with an address). The
// adapter that holds an address of the range is the one the summary speaks of.
// Fails with a one-line reason naming what was wrong.
struct SearchChoice {
    discovery::SearchTarget target;
    // Listen this long after the sweep instead of until the search settles.
    std::optional<std::chrono::milliseconds> wait;
    std::optional<netinfo::AdapterRow> adapter; // none: no adapter on the range's network
};
std::variant<SearchChoice, std::string> ChooseSearch(
    const Invocation& invocation, const std::vector<netinfo::AdapterRow>& adapters);

} // namespace quill::cli
