#pragma once

#include "AdapterRows.h"
#include "SiteReport.h"

class CSearchPage;

namespace quill::app {

// What the window shows, as a site report still without its checks: the
// search page's rows, status line and range, the adapter chosen on it (none
// when unknown), now, on this PC.
report::SiteReport WindowSiteReport(
    const CSearchPage& search, const netinfo::AdapterRow* adapter, int language);

} // namespace quill::app
