#pragma once

#include "AdapterRows.h"
#include "CommandLine.h"

#include <ostream>
#include <vector>

namespace quill::cli {

using netinfo::AdapterRow;

// Writes the rows as an aligned table with a heading, or as JSON
// ({"schema_version": 2, "adapters": [...]}) with stable key names.
void WriteAdapterRows(std::ostream& out, const std::vector<AdapterRow>& rows, OutputFormat format);

} // namespace quill::cli
