#pragma once

#include "SimulatorOptions.h"

#include <string>

namespace quill::camsim {

// The five-field answer "ip sn mac device_name fw" of camera number n (from 1)
// at the given IPv4 address. Patterns may hold {ip}, {n}, {n:06} (zero padded to
// six digits) and {mac} (a locally administered MAC derived from the address).
std::string BuildAnswer(const SimulatorOptions& options, int n, const std::string& address);

std::string ExpandPattern(const std::string& pattern, int n, const std::string& address);

std::string MalformedAnswer(MalformedKind kind, const std::string& properAnswer);

} // namespace quill::camsim
