#include "ReportStream.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using quill::netinfo::kReportLineBufferSize;
using quill::netinfo::ReportStream;
using namespace std::string_literals;

namespace {

std::vector<std::string> Pieces(ReportStream& report)
{
    std::vector<std::string> pieces;
    std::string line;
    while (report.NextLine(line))
        pieces.push_back(line);
    return pieces;
}

std::vector<std::string> PiecesOf(std::string bytes)
{
    auto report = ReportStream::FromBytes(std::move(bytes));
    EXPECT_NE(report, nullptr);
    return report ? Pieces(*report) : std::vector<std::string> {};
}

TEST(ReportStream, GivesLinesWithTheirNewline)
{
    EXPECT_EQ(PiecesOf("a: 1\n\nb\n"), (std::vector<std::string> { "a: 1\n", "\n", "b\n" }));
    EXPECT_TRUE(PiecesOf("").empty());
}

TEST(ReportStream, LastLineWithoutNewlineArrivesAsItIs)
{
    EXPECT_EQ(PiecesOf("a\nlast"), (std::vector<std::string> { "a\n", "last" }));
}

TEST(ReportStream, LongLinesArriveInPiecesOfAtMost1023Bytes)
{
    const std::size_t piece = kReportLineBufferSize - 1;
    const std::string exact = std::string(piece - 1, 'x') + "\n";
    EXPECT_EQ(PiecesOf(exact), (std::vector<std::string> { exact }));

    const std::string oneOver = std::string(piece, 'y') + "\n";
    EXPECT_EQ(PiecesOf(oneOver), (std::vector<std::string> { std::string(piece, 'y'), "\n" }));

    const std::string long2500 = std::string(2500, 'z') + "\nnext\n";
    EXPECT_EQ(PiecesOf(long2500),
        (std::vector<std::string> { std::string(piece, 'z'), std::string(piece, 'z'),
            std::string(2500 - 2 * piece, 'z') + "\n", "next\n" }));
}

TEST(ReportStream, ZeroByteEndsThePieceAsACStringWould)
{
    // What follows the zero byte up to the newline is lost, as for a C caller of fgets.
    EXPECT_EQ(PiecesOf("ab\0cd\nef\n"s), (std::vector<std::string> { "ab", "ef\n" }));
    EXPECT_EQ(PiecesOf("\0\n"s), (std::vector<std::string> { "" }));
}

TEST(ReportStream, ReadsRecordedFilesByteForByte)
{
    quill::test::TempDir dir;
    const std::string bytes = "x: 1\r\n\xA4\x6C\xBA\xF4: 2\n";
    quill::test::WriteWholeFile(dir.file("report.txt"), bytes);
    auto report = ReportStream::FromFile(dir.file("report.txt").string());
    ASSERT_NE(report, nullptr);
    EXPECT_EQ(Pieces(*report), (std::vector<std::string> { "x: 1\r\n", "\xA4\x6C\xBA\xF4: 2\n" }));
    EXPECT_EQ(ReportStream::FromFile(dir.file("missing.txt").string()), nullptr);
}

} // namespace
