#include "ReversePathFilter.h"

#include "TextFile.h"

#include <algorithm>
#include <charconv>

namespace quill::netinfo {

namespace {

    std::optional<int> ReadSetting(const std::filesystem::path& file)
    {
        const std::optional<std::string> text = ReadTextFile(file.string());
        if (!text)
            return std::nullopt;
        int value = 0;
        const char* end = text->data() + text->size();
        const auto [rest, error] = std::from_chars(text->data(), end, value);
        if (error != std::errc() || std::any_of(rest, end, [](char c) { return c != '\n' && c != ' '; }))
            return std::nullopt;
        return value;
    }

} // namespace

std::optional<int> EffectiveReversePathFilter(
    const std::string& adapterName, const std::filesystem::path& procRoot)
{
    // The name becomes a path component: nothing that could leave the folder.
    if (adapterName.empty() || adapterName == "." || adapterName == ".."
        || adapterName.find('/') != std::string::npos || adapterName.find('\0') != std::string::npos)
        return std::nullopt;
    const std::filesystem::path conf = procRoot / "sys/net/ipv4/conf";
    const std::optional<int> own = ReadSetting(conf / adapterName / "rp_filter");
    if (!own)
        return std::nullopt;
    return std::max(*own, ReadSetting(conf / "all" / "rp_filter").value_or(0));
}

} // namespace quill::netinfo
