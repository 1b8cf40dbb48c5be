#pragma once

#include "CameraList.h"

#include <optional>
#include <string>
#include <vector>

namespace quill::discovery {

// One problem the camera list shows, in plain words (UTF-8, in the language)
// with the numbers of the rows it concerns.
struct CameraProblem {
    Finding finding;
    std::string text;
    std::vector<int> numbers;
};

// Every problem of the rows' findings: one per address claimed by several
// cameras, one per MAC under several addresses, one per camera that answered
// from another address than it reports, one per camera off the searched
// network, each saying what helps. Camera texts in them are made safe.
std::vector<CameraProblem> DescribeProblems(
    const std::vector<ResultRow>& rows, const std::optional<SearchedNetwork>& network, int language);

// "; N cameras with problems", as the status line ends.
std::string ProblemCountText(int language, int cameras);

} // namespace quill::discovery
