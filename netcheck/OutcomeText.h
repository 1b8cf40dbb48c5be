#pragma once

#include "ProbeOutcome.h"

#include <cstdint>
#include <string>

namespace quill::netcheck {

// A probe's outcome as text for its result field's tooltip, in UTF-8, in the
// language (0 English, 1 Traditional, 2 Simplified Chinese; others English):
// what the certificate is wrong about, if anything, then the reason, the
// facts and the time taken, one per line.
std::string DescribeOutcome(const ProbeOutcome& outcome, std::int32_t language);

// The reason line of that text alone, with its detail.
std::string ReasonText(const ProbeOutcome& outcome, std::int32_t language);

} // namespace quill::netcheck
