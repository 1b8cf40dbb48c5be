#include "AnswerParser.h"
#include "DeviceLogLine.h"
#include "DiscoveryProtocol.h"
#include "TextConversion.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

using quill::discovery::ParseAnswer;

namespace {

constexpr unsigned kSeed = 1334;
constexpr int kRounds = 50000;

std::string RandomDatagram(std::mt19937& rng)
{
    // Lengths around the 7-byte and 500-byte limits, bytes biased towards
    // spaces so that every token count turns up often, and some zero bytes.
    static const int kLengthLimits[] = { 12, 40, 520, 700 };
    const int limit = kLengthLimits[std::uniform_int_distribution<int>(0, 3)(rng)];
    const int length = std::uniform_int_distribution<int>(0, limit)(rng);
    const int spaceShare = std::uniform_int_distribution<int>(1, 30)(rng);
    std::string datagram;
    datagram.reserve(static_cast<std::size_t>(length));
    for (int i = 0; i < length; ++i) {
        const int pick = std::uniform_int_distribution<int>(0, 999)(rng);
        if (pick < spaceShare)
            datagram += ' ';
        else if (pick < spaceShare + 3)
            datagram += '\0';
        else
            datagram += static_cast<char>(std::uniform_int_distribution<int>(0, 255)(rng));
    }
    return datagram;
}

std::string RandomFiveTokenDatagram(std::mt19937& rng)
{
    std::string datagram;
    for (int token = 0; token < 5; ++token) {
        if (token > 0)
            datagram += ' ';
        const int length = std::uniform_int_distribution<int>(0, 130)(rng);
        for (int i = 0; i < length; ++i) {
            char byte = static_cast<char>(std::uniform_int_distribution<int>(1, 255)(rng));
            datagram += byte == ' ' ? 'x' : byte;
        }
    }
    return datagram;
}

bool IsWellFormed(const std::string& bytes)
{
    const QByteArray back = QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size())).toUtf8();
    return std::string(back.constData(), static_cast<std::size_t>(back.size())) == bytes;
}

TEST(DatagramFuzz, RecordsAlwaysObeyTheTokenRules)
{
    std::mt19937 rng(kSeed);
    int accepted = 0;
    for (int round = 0; round < kRounds; ++round) {
        const std::string datagram = round % 4 == 0 ? RandomFiveTokenDatagram(rng) : RandomDatagram(rng);
        const std::string readable = datagram.substr(0, quill::discovery::kAnswerBufferSize);
        const std::string text = readable.substr(0, readable.find('\0'));
        const bool acceptable = text.size() >= 7 && std::count(text.begin(), text.end(), ' ') == 4;

        const auto record = ParseAnswer(datagram);
        ASSERT_EQ(record.has_value(), acceptable) << "round " << round;
        if (!record)
            continue;
        ++accepted;
        const std::string fields[] = { record->ip, record->sn, record->mac, record->device_name, record->fw };
        std::string rejoined;
        for (const std::string& field : fields) {
            ASSERT_EQ(field.find(' '), std::string::npos) << "round " << round;
            ASSERT_EQ(field.find('\0'), std::string::npos) << "round " << round;
            if (&field != &fields[0])
                rejoined += ' ';
            rejoined += field;
            // What the result list would show of the field is well formed.
            ASSERT_TRUE(IsWellFormed(quill::text::FilterUtf8(field))) << "round " << round;
        }
        ASSERT_EQ(rejoined, text) << "round " << round;
        ASSERT_FALSE(quill::discovery::FormatDeviceLogLine(*record).empty());
    }
    // The loop must have exercised the accepting path, not only the rejections.
    EXPECT_GT(accepted, kRounds / 5);
}

} // namespace
