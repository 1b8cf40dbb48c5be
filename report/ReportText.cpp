#include "ReportText.h"

#include "SafeText.h"

#include <boost/format.hpp>

#include <array>
#include <cstdlib>

namespace quill::report {

std::string HtmlText(std::string_view bytes)
{
    return QString::fromStdString(text::SafeText(bytes)).toHtmlEscaped().toStdString();
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
