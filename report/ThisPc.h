#pragma once

#include <string>

namespace quill::report {

struct PcIdentity {
    std::string name; // the host name
    std::string os; // the system's product name and version
};

// The PC this program runs on, as a site report names it.
PcIdentity ThisPc();

} // namespace quill::report
