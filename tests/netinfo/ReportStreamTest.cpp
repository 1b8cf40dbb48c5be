#include "ReportStream.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using quill::netinfo::ReportStream;
using Pieces = std::vector<std::string>;
using namespace std::string_literals;

namespace {

// Lines arrive as fgets leaves them: with their newline, in pieces of at most
// 1023 bytes, and cut at a zero byte as a C caller would see them.
TEST(ReportStream, GivesLinesInPiecesAsFgetsDoes)
{
    const std::size_t piece = quill::netinfo::kReportLineBufferSize - 1;
    const struct {
        std::string bytes;
        Pieces pieces;
    } cases[] = {
        { "", {} },
        { "a: 1\n\nb\n", { "a: 1\n", "\n", "b\n" } },
        { "a\nlast", { "a\n", "last" } },
        { std::string(piece - 1, 'x') + "\n", { std::string(piece - 1, 'x') + "\n" } },
        { std::string(piece, 'y') + "\n", { std::string(piece, 'y'), "\n" } },
        { std::string(2500, 'z') + "\nnext\n",
            { std::string(piece, 'z'), std::string(piece, 'z'), std::string(2500 - 2 * piece, 'z') + "\n",
                "next\n" } },
        { "ab\0cd\nef\n"s, { "ab", "ef\n" } },
        { "\0\n"s, { "" } },
    };
    for (const auto& c : cases) {
        auto report = ReportStream::FromBytes(c.bytes);
        ASSERT_NE(report, nullptr);
        Pieces pieces;
        for (std::string line; report->NextLine(line);)
            pieces.push_back(line);
        EXPECT_EQ(pieces, c.pieces) << testing::PrintToString(c.bytes.substr(0, 20));
    }
    EXPECT_EQ(ReportStream::FromFile("/nonexistent/report.txt"), nullptr);
}

} // namespace
