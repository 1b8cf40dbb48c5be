#pragma once

#include "SiteReport.h"

#include <ostream>

namespace quill::report {

// The report as one self-contained HTML page for the screen and for A4 paper:
// its style inline, no script, nothing loaded from anywhere. Headings are
// English; the check reasons and the discovery summary are in the report's
// language. Every text from a camera, a server or a user is escaped.
void WriteSiteReportHtml(std::ostream& out, const SiteReport& report);

} // namespace quill::report
