#include "CameraAnswer.h"

#include "DiscoveryProtocol.h"

#include <boost/asio/ip/address_v4.hpp>
#include <boost/format.hpp>

namespace quill::camsim {

namespace {

    std::string MacFor(const std::string& address)
    {
        boost::system::error_code error;
        const auto parsed = boost::asio::ip::make_address_v4(address, error);
        const auto bytes = error ? boost::asio::ip::address_v4::bytes_type {} : parsed.to_bytes();
        return (boost::format("02-00-%02X-%02X-%02X-%02X") % int(bytes[0]) % int(bytes[1]) % int(bytes[2])
            % int(bytes[3]))
            .str();
    }

    void ReplaceAll(std::string& text, const std::string& from, const std::string& to)
    {
        for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
            text.replace(at, from.size(), to);
    }

} // namespace

std::string ExpandPattern(const std::string& pattern, int n, const std::string& address)
{
    std::string text = pattern;
    ReplaceAll(text, "{n:06}", (boost::format("%06d") % n).str());
    ReplaceAll(text, "{n}", std::to_string(n));
    ReplaceAll(text, "{ip}", address);
    ReplaceAll(text, "{mac}", MacFor(address));
    return text;
}

std::string BuildAnswer(const SimulatorOptions& options, int n, const std::string& address)
{
    return ExpandPattern(options.ipPattern, n, address) + ' ' + ExpandPattern(options.snPattern, n, address)
        + ' ' + ExpandPattern(options.macPattern, n, address) + ' '
        + ExpandPattern(options.namePattern, n, address) + ' ' + ExpandPattern(options.fwPattern, n, address);
}

std::string MalformedAnswer(MalformedKind kind, const std::string& properAnswer)
{
    switch (kind) {
    case MalformedKind::Short:
        return "a b c";
    case MalformedKind::ExtraToken:
        return properAnswer + " extra";
    case MalformedKind::MissingToken:
        return properAnswer.substr(0, properAnswer.rfind(' '));
    case MalformedKind::Binary: {
        std::string bytes;
        for (int i = 0; i < 64; ++i)
            bytes.push_back(static_cast<char>(0x80 + (i * 37) % 128));
        return bytes;
    }
    case MalformedKind::Oversize: {
        // Five tokens whose last one runs 100 bytes past what a receiver reads.
        constexpr std::size_t kOversize = discovery::kAnswerBufferSize + 100;
        std::string text = properAnswer;
        text.append(kOversize - std::min(kOversize, text.size()), 'X');
        return text;
    }
    }
    return {};
}

} // namespace quill::camsim
