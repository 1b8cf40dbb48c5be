// The filter every front end shows and writes outside text through, and the
// JSON step that escapes what QJsonDocument writes raw.
#include "SafeText.h"
#include "JsonControls.h"
#include "SafeWideText.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

using namespace quill::text;
using namespace std::string_literals;

// Each hidden control and its nearest neighbours that are ordinary text.
TEST(SafeText, WritesHiddenControlsVisiblyAndKeepsTheRest)
{
    const std::pair<std::string, std::string> cases[] = {
        { "Cam\u202Eevil.exe", "Cam<U+202E>evil.exe" },
        { "1.0.7\n", "1.0.7<U+000A>" },
        { "a\0b\tc\rd\x1F"s, "a<U+0000>b<U+0009>c<U+000D>d<U+001F>" },
        { "\x1B[2J\x7F\xC2\x80\xC2\x9B\xC2\x9F", "<U+001B>[2J<U+007F><U+0080><U+009B><U+009F>" },
        { "\u061C\u200E\u200F\u202A\u202B\u202C\u202D\u2066\u2067\u2068\u2069\u2028\u2029",
            "<U+061C><U+200E><U+200F><U+202A><U+202B><U+202C><U+202D><U+2066><U+2067><U+2068><U+2069>"
            "<U+2028><U+2029>" },
        // Neighbours: space, ~, NBSP, U+061B, ZWJ, U+2027, U+202F, U+2065, U+206A, text and emoji stay.
        { " ~\u00A0\u061B\u200D\u2027\u202F\u2065\u206A東門\U0001F4F7",
            " ~\u00A0\u061B\u200D\u2027\u202F\u2065\u206A東門\U0001F4F7" },
        // Ill-formed bytes are dropped, also where they would hide a control.
        { "a\xFF\xE2\x80\xAE\xE2\x80z\xC2", "a<U+202E>z" },
    };
    for (const auto& [input, expected] : cases) {
        EXPECT_EQ(SafeText(input), expected) << testing::PrintToString(input);
        EXPECT_EQ(SafeWideText(input), QString::fromStdString(expected));
    }
    EXPECT_EQ(SafeWideText(QString::fromUtf16(u"x\u202E") + QChar(0xD800) + QChar(u'y')),
        QStringLiteral("x<U+202E>y"));
}

// The escaped document reads back as the same text; only strings change.
TEST(EscapeJsonControls, EscapesHiddenControlsInStringsOnly)
{
    const std::pair<QString, std::string> cases[] = {
        { QString::fromUtf16(u"a\u202Eb\u007F\u0085c\n\u2066"), R"("a\u202Eb\u007F\u0085c\n\u2066")" },
        { QString::fromUtf16(u"q\"\u200F\\\u061C東"), R"("q\"\u200F\\\u061C東")" },
        { QString::fromUtf16(u"plain 東門"), R"("plain 東門")" },
    };
    for (const auto& [text, expected] : cases) {
        const QJsonObject object { { text, text } };
        for (const auto format : { QJsonDocument::Compact, QJsonDocument::Indented }) {
            const QByteArray escaped = EscapeJsonControls(QJsonDocument(object).toJson(format));
            EXPECT_NE(escaped.indexOf(expected.c_str()), escaped.lastIndexOf(expected.c_str()))
                << escaped.toStdString();
            EXPECT_EQ(QJsonDocument::fromJson(escaped).object(), object);
            EXPECT_EQ(escaped.count('\n'), format == QJsonDocument::Compact ? 0 : 3);
        }
    }
}
