#include "TextConversion.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

using namespace quill::text;

namespace {

constexpr unsigned kSeed = 20240611;
constexpr int kRounds = 20000;

int Uniform(std::mt19937& rng, int low, int high)
{
    return std::uniform_int_distribution<int>(low, high)(rng);
}

// Qt's encoder builds the expected bytes, so the filter is checked against
// code it does not share.
QString Scalar(std::mt19937& rng)
{
    static const int kPlaneEnds[] = { 0x7F, 0x7FF, 0xFFFF, 0x10FFFF };
    for (;;) {
        const char32_t cp = static_cast<char32_t>(Uniform(rng, 0, kPlaneEnds[Uniform(rng, 0, 3)]));
        if (cp < 0xD800 || cp > 0xDFFF)
            return QString::fromUcs4(&cp, 1);
    }
}

std::string Bytes(const QString& text)
{
    const QByteArray utf8 = text.toUtf8();
    return std::string(utf8.constData(), static_cast<std::size_t>(utf8.size()));
}

// Qt substitutes U+FFFD for anything broken, so a changed round trip means
// the bytes were not well formed.
bool IsWellFormed(const std::string& bytes)
{
    return Bytes(QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()))) == bytes;
}

// Broken fragments that start with a lead byte (or a byte that never starts
// anything), so that no fragment can complete the one before it.
const char* const kBrokenLeads[] = { "\xC0\xAF", "\xC1\xBF", "\xE0\x80\xAF", "\xE0\x9F\xBF",
    "\xF0\x8F\xBF\xBF", "\xED\xA0\x80", "\xED\xBF\xBF", "\xF4\x90\x80\x80", "\xF5\x80\x80\x80", "\xF8",
    "\xFE", "\xFF", "\xC3", "\xE2\x82", "\xF0\x9F\x98", "\xE0", "\xF4\x8F\xBF" };

TEST(TextFuzz, Utf8FilterKeepsExactlyTheWellFormedCharacters)
{
    std::mt19937 rng(kSeed);
    for (int round = 0; round < kRounds; ++round) {
        std::string input, expected;
        bool lastWasWellFormed = true;
        for (int p = Uniform(rng, 0, 24); p > 0; --p) {
            const int kind = Uniform(rng, 0, 9);
            if (kind < 5) {
                const std::string good = Bytes(Scalar(rng));
                input += good;
                expected += good;
            } else if (kind < 8 || !lastWasWellFormed) {
                input += kBrokenLeads[Uniform(rng, 0, std::size(kBrokenLeads) - 1)];
            } else {
                // Stray continuation bytes only after a complete character.
                for (int i = Uniform(rng, 1, 4); i > 0; --i)
                    input += static_cast<char>(Uniform(rng, 0x80, 0xBF));
            }
            lastWasWellFormed = kind < 5;
        }
        ASSERT_EQ(FilterUtf8(input), expected) << "round " << round;
        ASSERT_EQ(
            Utf8ToWide(input), QString::fromUtf8(expected.data(), static_cast<qsizetype>(expected.size())));
    }
}

TEST(TextFuzz, Utf8FilterOutputOfRandomBytesIsWellFormed)
{
    std::mt19937 rng(kSeed + 1);
    for (int round = 0; round < kRounds; ++round) {
        std::string input;
        for (int i = Uniform(rng, 0, 64); i > 0; --i) {
            const bool high = Uniform(rng, 0, 3) != 0; // mostly high bytes, where all the rules are
            input += static_cast<char>(Uniform(rng, high ? 0x80 : 0x00, high ? 0xFF : 0x7F));
        }
        const std::string filtered = FilterUtf8(input);
        ASSERT_TRUE(IsWellFormed(filtered)) << "round " << round;
        ASSERT_EQ(FilterUtf8(filtered), filtered) << "round " << round;
        ASSERT_FALSE(Utf8ToWide(input).contains(QChar::ReplacementCharacter)) << "round " << round;
    }
}

TEST(TextFuzz, WideFilterKeepsExactlyThePairedText)
{
    std::mt19937 rng(kSeed + 2);
    for (int round = 0; round < kRounds; ++round) {
        QString input, expected;
        bool lastWasLoneHigh = false;
        for (int p = Uniform(rng, 0, 24); p > 0; --p) {
            const int kind = Uniform(rng, 0, 3);
            if (kind == 0) {
                const QString good = Scalar(rng);
                input += good;
                expected += good;
            } else if (kind == 1 || lastWasLoneHigh) {
                input += QChar(static_cast<char16_t>(Uniform(rng, 0xD800, 0xDBFF)));
            } else {
                input += QChar(static_cast<char16_t>(Uniform(rng, 0xDC00, 0xDFFF)));
            }
            lastWasLoneHigh = kind != 0 && (kind == 1 || lastWasLoneHigh);
        }
        const std::string utf8 = WideToUtf8(input);
        ASSERT_TRUE(IsWellFormed(utf8)) << "round " << round;
        ASSERT_EQ(Utf8ToWide(utf8), expected) << "round " << round;
    }
}

} // namespace
