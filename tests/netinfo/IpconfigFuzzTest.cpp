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

bool IsWellFormedUtf8(const std::string& bytes)
{
    const QByteArray back = QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size())).toUtf8();
    return std::string(back.constData(), static_cast<std::size_t>(back.size())) == bytes;
}

// What must hold for any report: the parser starts, stays within the table,
// and every record is a split address with well-formed texts no longer than a
// line; the slots after the count stay untouched. Adds the records made to
// recordsMade.
void CheckInvariants(const std::string& report, const std::string& what, int& recordsMade)
{
    AdapterTable table;
    ASSERT_TRUE(ParseIpconfig(table, [&] { return ReportStream::FromBytes(report); })) << what;
    recordsMade += table.count;
    ASSERT_GE(table.count, 0) << what;
    ASSERT_LE(table.count, kAdapterSlotCount) << what;
    for (std::int32_t i = 0; i < kAdapterSlotCount; ++i) {
        const AdapterInfo& slot = table.slots[static_cast<std::size_t>(i)];
        if (i >= table.count) {
            ASSERT_EQ(slot, AdapterInfo {}) << what << " slot " << i;
            continue;
        }
        ASSERT_GE(slot.addressParts.size(), 2u) << what;
        std::string address;
        for (std::size_t p = 0; p < slot.addressParts.size(); ++p)
            address += (p == 0 ? "" : ".") + slot.addressParts[p];
        ASSERT_GE(address.size(), 7u) << what;
        for (const std::string* text : std::initializer_list<const std::string*> {
                 &address, &slot.subnetMask, &slot.defaultGateway, &slot.dnsServer }) {
            ASSERT_LT(text->size(), kReportLineBufferSize) << what;
            ASSERT_TRUE(IsWellFormedUtf8(*text)) << what;
        }
    }
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
    const std::size_t lines = Uniform(rng, 0, 120);
    for (std::size_t i = 0; i < lines; ++i) {
        std::string line;
        const std::size_t field = Uniform(rng, 0, kReportFieldCount - 1);
        const std::string label(kReportLabels[field][Uniform(rng, 0, kFormsPerField - 1)]);
        switch (Uniform(rng, 0, 9)) {
        case 0:
            line = RandomBytes(rng, 80);
            break;
        case 1:
            line = std::string(Uniform(rng, 1000, 2100), 'x') + label + " . : " + Pick(rng, fitting[field]);
            break;
        case 2:
            line = "   " + label + Pick(rng, separators) + Pick(rng, odd) + RandomBytes(rng, 4);
            break;
        default:
            line = "   " + label + " . . . : " + Pick(rng, fitting[field]);
            break;
        }
        report += line;
        if (Uniform(rng, 0, 29) != 0)
            report += '\n';
    }
    return report;
}

std::string Mutate(std::mt19937& rng, std::string report, const std::vector<std::string>& corpus)
{
    const std::size_t edits = Uniform(rng, 1, 12);
    for (std::size_t e = 0; e < edits; ++e) {
        const std::size_t at = report.empty() ? 0 : Uniform(rng, 0, report.size() - 1);
        switch (Uniform(rng, 0, 6)) {
        case 0: // flip a byte
            if (!report.empty())
                report[at] = static_cast<char>(report[at] ^ (1 << Uniform(rng, 0, 7)));
            break;
        case 1: // insert bytes
            report.insert(at, RandomBytes(rng, 16));
            break;
        case 2: // delete a range
            report.erase(at, Uniform(rng, 0, 200));
            break;
        case 3: // duplicate a range
            report.insert(at, report.substr(at, Uniform(rng, 0, 400)));
            break;
        case 4: // cut the report short
            report.resize(at);
            break;
        case 5: // splice in a piece of another report
        {
            const std::string& other = Pick(rng, corpus);
            const std::size_t from = Uniform(rng, 0, other.size());
            report.insert(at, other.substr(from, Uniform(rng, 0, 600)));
            break;
        }
        case 6: // a zero byte or a newline
            report.insert(at, 1, Uniform(rng, 0, 1) == 0 ? '\0' : '\n');
            break;
        }
    }
    return report;
}

TEST(IpconfigFuzz, RandomReports)
{
    std::mt19937 rng(kSeed);
    int recordsMade = 0;
    for (int round = 0; round < 3000; ++round)
        CheckInvariants(RandomReport(rng), "random round " + std::to_string(round), recordsMade);
    // The loop must reach the record-making path, not only the rejections.
    EXPECT_GT(recordsMade, 3000);
}

TEST(IpconfigFuzz, MutatedRecordedReports)
{
    std::vector<std::string> corpus;
    for (const char* name : { "ipconfig_en.txt", "ipconfig_zh_tw_big5.txt", "ipconfig_zh_cn_cp950.txt",
             "ipconfig_ja_question_marks.txt" })
        corpus.push_back(quill::test::ReadWholeFile(std::string(QUILL_TEST_DATA_DIR) + "/" + name));

    std::mt19937 rng(kSeed + 1);
    int recordsMade = 0;
    for (int round = 0; round < 3000; ++round) {
        // Several reports in a row exercise the table limit as well.
        std::string report;
        const std::size_t count = Uniform(rng, 1, 6);
        for (std::size_t i = 0; i < count; ++i)
            report += Pick(rng, corpus);
        CheckInvariants(Mutate(rng, report, corpus), "mutated round " + std::to_string(round), recordsMade);
    }
    EXPECT_GT(recordsMade, 3000);
}

} // namespace
