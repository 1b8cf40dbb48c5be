#include "AnswerParser.h"

#include "DiscoveryProtocol.h"

#include <array>

namespace quill::discovery {

std::optional<DeviceRecord> ParseAnswer(std::string_view received)
{
    const std::string_view readable = received.substr(0, kAnswerBufferSize);
    const std::string_view text = readable.substr(0, readable.find('\0'));
    if (text.size() < kShortestAnswerLength)
        return std::nullopt;

    std::array<std::string_view, kTokenCount> tokens;
    std::size_t tokenCount = 0;
    std::size_t tokenStart = 0;
    for (;;) {
        if (tokenCount == kTokenCount)
            return std::nullopt; // a sixth token
        const std::size_t separator = text.find(kTokenSeparator, tokenStart);
        tokens[tokenCount++] = text.substr(tokenStart, separator - tokenStart);
        if (separator == std::string_view::npos)
            break;
        tokenStart = separator + 1;
    }
    if (tokenCount != kTokenCount)
        return std::nullopt;

    return DeviceRecord {
        std::string(tokens[0]),
        std::string(tokens[1]),
        std::string(tokens[2]),
        std::string(tokens[3]),
        std::string(tokens[4]),
    };
}

} // namespace quill::discovery
