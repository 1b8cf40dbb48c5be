#include "ReportText.h"

#include "TextConversion.h"

#include <boost/format.hpp>

#include <algorithm>
#include <array>
#include <cstdlib>

namespace quill::report {

std::string HtmlText(std::string_view bytes)
{
    std::string text = text::FilterUtf8(bytes);
    // Control characters are not allowed in HTML text; a camera may send any.
    std::erase_if(text, [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return (byte < 0x20 && c != '\t' && c != '\n' && c != '\r') || byte == 0x7F;
    });
    return QString::fromStdString(text).toHtmlEscaped().toStdString();
}

std::string TimestampText(const QDateTime& time)
{
    // Written out by hand: Qt writes "Z" for UTC and nothing for some local times.
    const int offset = time.offsetFromUtc() / 60;
    return (boost::format("%s%c%02d:%02d")
        % time.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss")).toStdString() % (offset < 0 ? '-' : '+')
        % (std::abs(offset) / 60) % (std::abs(offset) % 60))
        .str();
}

const char* LanguageCode(int language)
{
    constexpr std::array<const char*, 3> kCodes { "en", "zh-TW", "zh-CN" };
    return language >= 1 && language <= 2 ? kCodes[static_cast<std::size_t>(language)] : kCodes[0];
}

} // namespace quill::report
