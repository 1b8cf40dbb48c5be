#pragma once

#include "ProbeOutcome.h"

#include <cstdint>
#include <string>
#include <vector>

// A probe's outcome as text, in UTF-8, in the language (0 English, 1
// Traditional, 2 Simplified Chinese; others English).
namespace quill::netcheck {

// The text for a result field's tooltip: the warning, if any, first, then the
// reason, the facts, host:port with the address used and the time taken, one
// per line.
std::string DescribeOutcome(const ProbeOutcome& outcome, std::int32_t language);

// The reason line of that text alone, with its detail.
std::string ReasonText(const ProbeOutcome& outcome, std::int32_t language);

// The warning of an outcome that passed with one, a line per thing wrong (a
// certificate can be wrong in several ways); none for the others.
std::vector<std::string> WarningLines(const ProbeOutcome& outcome, std::int32_t language);
// Those lines on one line, or empty.
std::string WarningText(const ProbeOutcome& outcome, std::int32_t language);

} // namespace quill::netcheck
