#include "AnswerParser.h"
#include "DeviceLogLine.h"
#include "DiscoveryProtocol.h"
#include "TextConversion.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

namespace {

// Lengths around the 7- and 500-byte limits; spaces and zero bytes are
// frequent so that every token count turns up, and one round in four has
// exactly five tokens so that the accepting path is exercised.
std::string RandomDatagram(std::mt19937& rng, bool fiveTokens)
{
    auto pick = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng); };
    std::string datagram;
    if (fiveTokens) {
        for (int token = 0; token < 5; ++token) {
            datagram += token > 0 ? " " : "";
            for (int i = pick(0, 130); i > 0; --i) {
                const char byte = static_cast<char>(pick(1, 255));
                datagram += byte == ' ' ? 'x' : byte;
            }
        }
        return datagram;
    }
    static const int kLimits[] = { 12, 40, 520, 700 };
    const int spaceShare = pick(1, 30);
    for (int i = pick(0, kLimits[pick(0, 3)]); i > 0; --i) {
        const int roll = pick(0, 999);
        datagram += roll < spaceShare ? ' ' : roll < spaceShare + 3 ? '\0' : static_cast<char>(pick(0, 255));
    }
    return datagram;
}

TEST(DatagramFuzz, RecordsAlwaysObeyTheTokenRules)
{
    constexpr int kRounds = 50000;
    std::mt19937 rng(1334);
    int accepted = 0;
    for (int round = 0; round < kRounds; ++round) {
        const std::string datagram = RandomDatagram(rng, round % 4 == 0);
        const std::string readable = datagram.substr(0, quill::discovery::kAnswerBufferSize);
        const std::string text = readable.substr(0, readable.find('\0'));
        const bool acceptable = text.size() >= 7 && std::count(text.begin(), text.end(), ' ') == 4;

        const auto record = quill::discovery::ParseAnswer(datagram);
        ASSERT_EQ(record.has_value(), acceptable) << "round " << round;
        if (!record)
            continue;
        ++accepted;
        const std::string fields[] = { record->ip, record->sn, record->mac, record->device_name, record->fw };
        std::string rejoined;
        for (const std::string& field : fields) {
            ASSERT_EQ(field.find_first_of(std::string(" \0", 2)), std::string::npos) << "round " << round;
            rejoined += (&field == &fields[0] ? "" : " ") + field;
            // What the result list would show of the field is well formed UTF-8.
            const std::string shown = quill::text::FilterUtf8(field);
            ASSERT_EQ(
                QString::fromUtf8(shown.data(), static_cast<qsizetype>(shown.size())).toUtf8().toStdString(),
                shown)
                << "round " << round;
        }
        ASSERT_EQ(rejoined, text) << "round " << round;
        ASSERT_FALSE(quill::discovery::FormatDeviceLogLine(*record).empty());
    }
    EXPECT_GT(accepted, kRounds / 5);
}

} // namespace
