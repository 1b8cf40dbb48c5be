#include "IpconfigLabels.h"
#include "IpconfigParser.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <QString>

#include <random>
#include <string>
#include <vector>

using namespace quill::netinfo;

namespace {

constexpr unsigned kSeed = 0x1F2E3D4C;
constexpr int kRounds = 3000;

bool IsWellFormedUtf8(const std::string& bytes)
{
    const QByteArray back = QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size())).toUtf8();
    return std::string(back.constData(), static_cast<std::size_t>(back.size())) == bytes;
}

// What must hold for any report: the parser starts, stays within the table,
// and every record is a split address with well-formed texts shorter than a
// line; the slots after the count stay untouched. Returns the records made.
int CheckInvariants(const std::string& report, int round)
{
    AdapterTable table;
    EXPECT_TRUE(ParseIpconfig(table, [&] { return ReportStream::FromBytes(report); })) << round;
    EXPECT_TRUE(table.count >= 0 && table.count <= kAdapterSlotCount) << round;
    for (std::int32_t i = 0; i < kAdapterSlotCount; ++i) {
        const AdapterInfo& slot = table.slots[static_cast<std::size_t>(i)];
        if (i >= table.count) {
            EXPECT_EQ(slot, AdapterInfo {}) << round << " slot " << i;
            continue;
        }
        std::string address = slot.addressParts.empty() ? "" : slot.addressParts[0];
        for (std::size_t p = 1; p < slot.addressParts.size(); ++p)
            address += "." + slot.addressParts[p];
        EXPECT_TRUE(slot.addressParts.size() >= 2 && address.size() >= 7) << round;
        for (const std::string& text : { address, slot.subnetMask, slot.defaultGateway, slot.dnsServer })
            EXPECT_TRUE(text.size() < kReportLineBufferSize && IsWellFormedUtf8(text)) << round;
    }
    return table.count;
}

std::size_t Uniform(std::mt19937& rng, std::size_t low, std::size_t high)
{
    return std::uniform_int_distribution<std::size_t>(low, high)(rng);
}

std::string Pick(std::mt19937& rng, const std::vector<std::string>& choices)
{
    return choices[Uniform(rng, 0, choices.size() - 1)];
}

std::string RandomBytes(std::mt19937& rng, std::size_t maxLength)
{
    std::string bytes(Uniform(rng, 0, maxLength), '\0');
    for (char& byte : bytes)
        byte = static_cast<char>(Uniform(rng, 0, 255));
    return bytes;
}

// Lines built from the pieces the parser reacts to: every label form, mostly
// with a fitting value so that records do get made, and around them colons
// near the edges, odd values, broken bytes, zero bytes and lines around the
// piece limit.
std::string RandomReport(std::mt19937& rng)
{
    const std::vector<std::string> fitting[kReportFieldCount] = {
        { "00-1A-2B-3C-4D-5E", "3C-A9-F4-11-22-33" },
        { "192.168.1.20", "10.0.0.5(Preferred) ", "169.254.1.2(Preferred)" },
        { "255.255.255.0", "255.0.0.0" },
        { "192.168.1.1", "", "fe80::1%12" },
        { "192.168.1.1", "8.8.8.8", "" },
    };
    const std::vector<std::string> odd = { "0.0.0.0", "(", "00-00-00-00-00-00", "1.2.3", "fe80::1%12",
        "\xFF\xC3", "...", "\xE5\xAF", std::string("1.2\0.3.4", 8) };
    const std::vector<std::string> separators = { ":", ": ", " :", "", ". . :  " };
    std::string report;
    for (std::size_t lines = Uniform(rng, 0, 120); lines > 0; --lines) {
        const std::size_t field = Uniform(rng, 0, kReportFieldCount - 1);
        const std::string label(kReportLabels[field][Uniform(rng, 0, kFormsPerField - 1)]);
        const std::size_t kind = Uniform(rng, 0, 9);
        if (kind == 0)
            report += RandomBytes(rng, 80);
        else if (kind == 1)
            report
                += std::string(Uniform(rng, 1000, 2100), 'x') + label + " . : " + Pick(rng, fitting[field]);
        else if (kind == 2)
            report += "   " + label + Pick(rng, separators) + Pick(rng, odd) + RandomBytes(rng, 4);
        else
            report += "   " + label + " . . . : " + Pick(rng, fitting[field]);
        if (Uniform(rng, 0, 29) != 0)
            report += '\n';
    }
    return report;
}

// Flips, inserts, deletes, duplicates, cuts and splices in pieces of the corpus.
std::string Mutate(std::mt19937& rng, std::string report, const std::vector<std::string>& corpus)
{
    for (std::size_t edits = Uniform(rng, 1, 12); edits > 0; --edits) {
        const std::size_t at = report.empty() ? 0 : Uniform(rng, 0, report.size() - 1);
        const std::string& other = Pick(rng, corpus);
        const std::size_t op = Uniform(rng, 0, 6);
        if (op == 0 && !report.empty())
            report[at] ^= static_cast<char>(1 << Uniform(rng, 0, 7));
        else if (op == 1)
            report.insert(at, RandomBytes(rng, 16));
        else if (op == 2)
            report.erase(at, Uniform(rng, 0, 200));
        else if (op == 3)
            report.insert(at, report.substr(at, Uniform(rng, 0, 400)));
        else if (op == 4)
            report.resize(at);
        else if (op == 5)
            report.insert(at, other.substr(Uniform(rng, 0, other.size()), Uniform(rng, 0, 600)));
        else if (op == 6)
            report.insert(at, 1, Uniform(rng, 0, 1) == 0 ? '\0' : '\n');
    }
    return report;
}

// Both loops must also reach the record-making path, not only the rejections.
TEST(IpconfigFuzz, RandomReports)
{
    std::mt19937 rng(kSeed);
    int recordsMade = 0;
    for (int round = 0; round < kRounds; ++round)
        recordsMade += CheckInvariants(RandomReport(rng), round);
    EXPECT_GT(recordsMade, kRounds);
}

// Several reports in a row exercise the table limit as well.
TEST(IpconfigFuzz, MutatedRecordedReports)
{
    std::vector<std::string> corpus;
    for (const char* name : { "ipconfig_en.txt", "ipconfig_zh_tw_big5.txt", "ipconfig_zh_cn_cp950.txt",
             "ipconfig_ja_question_marks.txt" })
        corpus.push_back(quill::test::ReadWholeFile(std::string(QUILL_TEST_DATA_DIR) + "/" + name));
    std::mt19937 rng(kSeed + 1);
    int recordsMade = 0;
    for (int round = 0; round < kRounds; ++round) {
        std::string report;
        for (std::size_t count = Uniform(rng, 1, 6); count > 0; --count)
            report += Pick(rng, corpus);
        recordsMade += CheckInvariants(Mutate(rng, report, corpus), round);
    }
    EXPECT_GT(recordsMade, kRounds);
}

} // namespace
