#pragma once

#include "ReportStream.h"

#include <functional>
#include <memory>

namespace quill::netinfo {

// Starts the system's network report ("ipconfig /all" where it exists).
// nullptr when it cannot be started.
using ReportOpener = std::function<std::unique_ptr<ReportStream>()>;

// The platform's report source.
std::unique_ptr<ReportStream> OpenIpconfigReport();

} // namespace quill::netinfo
