#include "CameraHelpText.h"

#include "StatusFormat.h"

#include <algorithm>

namespace quill::discovery {

namespace {

    bool Concerns(const CameraProblem& problem, int number)
    {
        return std::ranges::find(problem.numbers, number) != problem.numbers.end();
    }

} // namespace

std::string CameraProblemsText(const std::vector<CameraProblem>& problems, int number)
{
    std::string text;
    for (const CameraProblem& problem : problems) {
        if (Concerns(problem, number))
            text += (text.empty() ? "" : "\n") + problem.text;
    }
    return text;
}

bool MayNotOpen(unsigned findings)
{
    return (findings & (kSenderMismatch | kOffNetwork)) != 0;
}

std::string OpenAnywayQuestion(const std::vector<CameraProblem>& problems, int number, int language)
{
    std::string text;
    for (const CameraProblem& problem : problems) {
        if (MayNotOpen(problem.finding) && Concerns(problem, number))
            text += problem.text + "\n\n";
    }
    return text
        + status::Format({ "Its web page may not load. Open it anyway?", "其網頁可能無法載入。仍要開啟嗎？",
                             "其网页可能无法加载。仍要打开吗？" },
            language);
}

} // namespace quill::discovery
