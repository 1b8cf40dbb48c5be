#include "ReportStream.h"

#include <array>
#include <cstring>

namespace quill::netinfo {

namespace {
    int CloseFile(std::FILE* stream)
    {
        return std::fclose(stream);
    }
} // namespace

ReportStream::ReportStream(std::FILE* stream, Closer close, std::unique_ptr<std::string> backing)
    : m_backing(std::move(backing))
    , m_stream(stream, close)
{
}

std::unique_ptr<ReportStream> ReportStream::FromBytes(std::string bytes)
{
    auto backing = std::make_unique<std::string>(std::move(bytes));
    // fmemopen gives the real fgets over memory; the data() of an empty
    // string is still a valid pointer.
    std::FILE* stream = ::fmemopen(backing->data(), backing->size(), "r");
    if (stream == nullptr)
        return nullptr;
    return std::make_unique<ReportStream>(stream, &CloseFile, std::move(backing));
}

std::unique_ptr<ReportStream> ReportStream::FromFile(const std::string& path)
{
    std::FILE* stream = std::fopen(path.c_str(), "rb");
    if (stream == nullptr)
        return nullptr;
    return std::make_unique<ReportStream>(stream, &CloseFile);
}

bool ReportStream::NextLine(std::string& line)
{
    if (!m_stream)
        return false;
    // fgets always ends what it stores with a zero byte.
    std::array<char, kReportLineBufferSize> buffer;
    if (std::fgets(buffer.data(), static_cast<int>(buffer.size()), m_stream.get()) == nullptr)
        return false;
    line.assign(buffer.data(), std::strlen(buffer.data()));
    return true;
}

} // namespace quill::netinfo
