#include "IpconfigReport.h"

namespace quill::netinfo {

// Linux has no "ipconfig /all" and no command with that report's format, so
// the report cannot be started; no process is run. The adapter table then
// comes from ReadAdaptersInfo.
std::unique_ptr<ReportStream> OpenIpconfigReport()
{
    return nullptr;
}

} // namespace quill::netinfo
