#pragma once

#include "CameraRows.h"
#include "CommandLine.h"
#include "SearchSession.h"

#include <ostream>

namespace quill::cli {

// The search with its progress on a terminal: "Searching …" rewritten in
// place while answers come, each new camera handed to onCamera.
discovery::SearchResult SearchShowingProgress(const discovery::SearchPlan& plan, int language,
    ProgressLine& progress, const std::function<void(const discovery::ResultRow&)>& onCamera);

// `discover`: cameras to out as they answer, then the summary (on out for a
// table, inside the JSON, on err beside CSV); the progress line on err when
// it is a terminal. Returns the exit status.
int RunDiscover(const discovery::SearchPlan& plan, OutputFormat format, int language, std::ostream& out,
    std::ostream& err, bool errIsTerminal);

} // namespace quill::cli
