#include "TextFile.h"

#include <fstream>
#include <sstream>

namespace quill::netinfo {

std::optional<std::string> ReadTextFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return std::nullopt;
    std::ostringstream content;
    content << file.rdbuf();
    if (file.bad())
        return std::nullopt;
    return std::move(content).str();
}

} // namespace quill::netinfo
