#include "TextConversion.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

using quill::text::FilterUtf8;
using quill::text::Utf8ToWide;
using quill::text::WideToUtf8;

namespace {

constexpr unsigned kSeed = 20240611;
constexpr int kRounds = 20000;

// Encodes a scalar value; the test's own encoder, so the filter is checked
// against something it does not share code with.
std::string EncodeUtf8(char32_t cp)
{
    std::string out;
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
    return out;
}

char32_t RandomScalar(std::mt19937& rng)
{
    static const char32_t kPlaneEnds[] = { 0x7F, 0x7FF, 0xFFFF, 0x10FFFF };
    const char32_t end = kPlaneEnds[std::uniform_int_distribution<int>(0, 3)(rng)];
    for (;;) {
        const char32_t cp = std::uniform_int_distribution<char32_t>(0, end)(rng);
        if (cp < 0xD800 || cp > 0xDFFF)
            return cp;
    }
}

bool IsWellFormedPerQt(const std::string& bytes)
{
    // Qt substitutes U+FFFD for anything broken, so a changed round trip
    // means the bytes were not well formed.
    const QString wide = QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
    const QByteArray back = wide.toUtf8();
    return std::string(back.constData(), static_cast<std::size_t>(back.size())) == bytes;
}

// Broken fragments that start with a lead byte (or a byte that can never
// start anything), so that no fragment can complete the one before it.
const std::vector<std::string> kBrokenLeads = {
    "\xC0\xAF",
    "\xC1\xBF",
    "\xE0\x80\xAF",
    "\xE0\x9F\xBF",
    "\xF0\x8F\xBF\xBF",
    "\xED\xA0\x80",
    "\xED\xBF\xBF",
    "\xF4\x90\x80\x80",
    "\xF5\x80\x80\x80",
    "\xF8",
    "\xFE",
    "\xFF",
    "\xC3",
    "\xE2\x82",
    "\xF0\x9F\x98",
    "\xE0",
    "\xF4\x8F\xBF",
};

TEST(TextFuzz, Utf8FilterKeepsExactlyTheWellFormedCharacters)
{
    std::mt19937 rng(kSeed);
    for (int round = 0; round < kRounds; ++round) {
        std::string input;
        std::string expected;
        bool lastWasWellFormed = true;
        const int pieces = std::uniform_int_distribution<int>(0, 24)(rng);
        for (int p = 0; p < pieces; ++p) {
            const int kind = std::uniform_int_distribution<int>(0, 9)(rng);
            if (kind < 5) {
                const std::string good = EncodeUtf8(RandomScalar(rng));
                input += good;
                expected += good;
                lastWasWellFormed = true;
            } else if (kind < 8 || !lastWasWellFormed) {
                input += kBrokenLeads[std::uniform_int_distribution<std::size_t>(0, kBrokenLeads.size() - 1)(
                    rng)];
                lastWasWellFormed = false;
            } else {
                // Stray continuation bytes only after a complete character.
                const int count = std::uniform_int_distribution<int>(1, 4)(rng);
                for (int i = 0; i < count; ++i)
                    input += static_cast<char>(std::uniform_int_distribution<int>(0x80, 0xBF)(rng));
                lastWasWellFormed = false;
            }
        }
        const std::string filtered = FilterUtf8(input);
        ASSERT_EQ(filtered, expected) << "round " << round;
        ASSERT_EQ(
            Utf8ToWide(input), QString::fromUtf8(expected.data(), static_cast<qsizetype>(expected.size())));
    }
}

TEST(TextFuzz, Utf8FilterOutputOfRandomBytesIsWellFormed)
{
    std::mt19937 rng(kSeed + 1);
    for (int round = 0; round < kRounds; ++round) {
        const int length = std::uniform_int_distribution<int>(0, 64)(rng);
        std::string input;
        for (int i = 0; i < length; ++i) {
            // Mostly high bytes, where all the rules are.
            const bool high = std::uniform_int_distribution<int>(0, 3)(rng) != 0;
            input += static_cast<char>(
                std::uniform_int_distribution<int>(high ? 0x80 : 0x00, high ? 0xFF : 0x7F)(rng));
        }
        const std::string filtered = FilterUtf8(input);
        ASSERT_TRUE(IsWellFormedPerQt(filtered)) << "round " << round;
        ASSERT_EQ(FilterUtf8(filtered), filtered) << "round " << round;
        ASSERT_LE(filtered.size(), input.size());
        ASSERT_FALSE(Utf8ToWide(input).contains(QChar::ReplacementCharacter)) << "round " << round;
    }
}

TEST(TextFuzz, WideFilterKeepsExactlyThePairedText)
{
    std::mt19937 rng(kSeed + 2);
    for (int round = 0; round < kRounds; ++round) {
        std::u16string input;
        std::u16string expected;
        bool lastWasLoneHigh = false;
        const int pieces = std::uniform_int_distribution<int>(0, 24)(rng);
        for (int p = 0; p < pieces; ++p) {
            const int kind = std::uniform_int_distribution<int>(0, 3)(rng);
            if (kind == 0) {
                const char32_t cp = RandomScalar(rng);
                if (cp >= 0x10000) {
                    const char32_t v = cp - 0x10000;
                    const std::u16string pair { char16_t(0xD800 + (v >> 10)),
                        char16_t(0xDC00 + (v & 0x3FF)) };
                    input += pair;
                    expected += pair;
                } else {
                    input += char16_t(cp);
                    expected += char16_t(cp);
                }
                lastWasLoneHigh = false;
            } else if (kind == 1 || lastWasLoneHigh) {
                input += char16_t(std::uniform_int_distribution<int>(0xD800, 0xDBFF)(rng));
                lastWasLoneHigh = true;
            } else {
                input += char16_t(std::uniform_int_distribution<int>(0xDC00, 0xDFFF)(rng));
                lastWasLoneHigh = false;
            }
        }
        const QString wide(
            reinterpret_cast<const QChar*>(input.data()), static_cast<qsizetype>(input.size()));
        const QString wanted(
            reinterpret_cast<const QChar*>(expected.data()), static_cast<qsizetype>(expected.size()));
        const std::string utf8 = WideToUtf8(wide);
        ASSERT_TRUE(IsWellFormedPerQt(utf8)) << "round " << round;
        ASSERT_EQ(Utf8ToWide(utf8), wanted) << "round " << round;
    }
}

} // namespace
