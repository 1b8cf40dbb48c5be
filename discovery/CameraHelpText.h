#pragma once

#include "CameraProblems.h"

#include <string>
#include <vector>

namespace quill::discovery {

// The problems that concern the camera numbered `number`, one a line, in the
// order given; empty when none does.
std::string CameraProblemsText(const std::vector<CameraProblem>& problems, int number);

// Findings that may keep a camera's web page from loading at the address it
// reports: it answered from another address, or it is off the PC's network.
bool MayNotOpen(unsigned findings);

// The question asked before opening such a camera's web page: why it may not
// load (its problems of those kinds), then whether to open it anyway.
std::string OpenAnywayQuestion(const std::vector<CameraProblem>& problems, int number, int language);

} // namespace quill::discovery
