#pragma once

#include "CameraRows.h"
#include "CommandLine.h"
#include "DiscoveryEngine.h"
#include "Interruption.h"
#include "SearchChoice.h"

#include <functional>
#include <ostream>

namespace quill::cli {

// One search on the engine, on the calling thread's event loop: listens,
// sweeps and returns once the search has settled, with "Searching …"
// rewritten in place on a terminal meanwhile and each new camera handed to
// onCamera as it answers. A listener that cannot start ends it at once,
// without a sweep; Ctrl-C ends it where it stands (Interruption::Requested()
// then tells).
discovery::ListenerStart SearchShowingProgress(discovery::DiscoveryEngine& engine, const SearchChoice& search,
    int language, ProgressLine& progress, const Interruption& interruption,
    const std::function<void(const discovery::ResultRow&)>& onCamera);

// `discover`: a table streams each camera as it first answers, then the
// summary and the findings; CSV and JSON are written once the search has
// settled (the summary on err beside CSV, inside the JSON). The progress
// line goes on err when it is a terminal. Interrupted, it writes what it has
// with a summary that says so. Findings fail it only when strict. Returns
// the exit status.
int RunDiscover(const SearchChoice& search, OutputFormat format, int language, bool strict,
    const Interruption& interruption, std::ostream& out, std::ostream& err, bool errIsTerminal);

} // namespace quill::cli
