#include "WindowSizeSetting.h"

#include "ProfileSettings.h"

#include <charconv>

namespace quill::app {

namespace {

    constexpr char kSection[] = "window";
    // No screen is larger: a bigger number is a mistyped or foreign value.
    constexpr int kLargest = 16384;

    std::optional<int> ReadLength(const char* key, const std::string& path)
    {
        const std::string text = settings::ReadProfileString(kSection, key, "", path);
        int value = 0;
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
        if (text.empty() || error != std::errc {} || end != text.data() + text.size() || value <= 0
            || value > kLargest)
            return std::nullopt;
        return value;
    }

} // namespace

std::optional<QSize> ReadWindowSize(const std::string& settingsPath)
{
    const auto width = ReadLength("Width", settingsPath);
    const auto height = ReadLength("Height", settingsPath);
    if (!width || !height)
        return std::nullopt;
    return QSize(*width, *height);
}

bool WriteWindowSize(const std::string& settingsPath, const QSize& size)
{
    return settings::WriteProfileString(kSection, "Width", std::to_string(size.width()), settingsPath)
        && settings::WriteProfileString(kSection, "Height", std::to_string(size.height()), settingsPath);
}

} // namespace quill::app
