#pragma once

#include "SiteReport.h"

#include <ostream>

namespace quill::report {

// The report as one JSON document, "schema_version" 2; docs/site-report.schema.json
// describes it. An adapter that is not known is null.
void WriteSiteReportJson(std::ostream& out, const SiteReport& report);

} // namespace quill::report
