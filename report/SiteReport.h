#pragma once

#include "AdapterRows.h"
#include "CameraProblems.h"
#include "CheckPlan.h"
#include "DiscoverySweep.h"
#include "ResultTable.h"

#include <QDateTime>

#include <optional>
#include <string>
#include <vector>

namespace quill::report {

// What an installer found at a site: the PC, its adapter, the cameras that
// answered and the network checks. Texts are UTF-8 as the front end has them;
// camera fields are the bytes the cameras sent.
struct SiteReport {
    QDateTime generatedAt; // written with the UTC offset it holds
    std::string pcName;
    std::string osName;
    int language = 0; // 0 English, 1 Traditional Chinese, 2 Simplified Chinese
    std::optional<netinfo::AdapterRow> adapter;
    discovery::Ipv4Octets rangeBegin {};
    discovery::Ipv4Octets rangeEnd {};
    std::vector<discovery::ResultRow> cameras;
    std::string discoverySummary; // the search page's status line for the search
    std::vector<netcheck::CheckRow> checks;
    // What is wrong with the cameras' addressing, in the report's language.
    std::vector<discovery::CameraProblem> findings {};
};

} // namespace quill::report
