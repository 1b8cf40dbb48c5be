#pragma once

#include <boost/format.hpp>

#include <array>
#include <string>

// How the discovery texts are put together: one format per language
// (English, Traditional Chinese, Simplified Chinese), filled with boost::format.
namespace quill::discovery::status {

using Texts = std::array<const char*, 3>;

// Any number that is no language gives English.
inline const char* Pick(const Texts& texts, int language)
{
    return texts[static_cast<std::size_t>(language >= 0 && language < 3 ? language : 0)];
}

inline std::string Format(const Texts& texts, int language)
{
    return Pick(texts, language);
}

template <class First, class... Rest>
std::string Format(const Texts& texts, int language, const First& first, const Rest&... rest)
{
    boost::format format(Pick(texts, language));
    format % first;
    ((format % rest), ...);
    return format.str();
}

// "1 camera", "12 cameras", "12 台攝影機".
inline std::string Count(int language, int n, const Texts& one, const Texts& many)
{
    return std::to_string(n) + ' ' + Pick(n == 1 ? one : many, language);
}

inline constexpr Texts kCamera { "camera", "台攝影機", "台摄像机" };
inline constexpr Texts kCameras { "cameras", "台攝影機", "台摄像机" };

} // namespace quill::discovery::status
