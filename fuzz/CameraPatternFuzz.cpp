// The simulator's field patterns. Input: camera number (4 bytes), address, five patterns, one a line.
// The answer parses back into the expanded patterns, and each malformed kind is refused.
#include "AnswerParser.h"
#include "CameraAnswer.h"
#include "FuzzSupport.h"

using namespace quill::camsim;
using quill::discovery::ParseAnswer;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 4)
        return 0;
    const auto n
        = static_cast<std::int32_t>(data[0] | data[1] << 8 | data[2] << 16 | std::uint32_t(data[3]) << 24);
    std::string_view input(reinterpret_cast<const char*>(data) + 4, size - 4);
    const std::string address(TakeLine(input));
    SimulatorOptions options;
    std::array<std::string, 5> expanded;
    for (std::size_t i = 0; std::string * pattern : { &options.ipPattern, &options.snPattern,
                                &options.macPattern, &options.namePattern, &options.fwPattern }) {
        *pattern = TakeLine(input);
        expanded[i++] = ExpandPattern(*pattern, n, address);
    }

    const std::string mac = ExpandPattern("{mac}", n, address);
    QUILL_FUZZ_CHECK(mac.size() == 17 && mac.starts_with("02-00-"));
    QUILL_FUZZ_CHECK(std::stoll(ExpandPattern("{n:06}", n, address)) == n);
    QUILL_FUZZ_CHECK(address.find('{') != std::string::npos || ExpandPattern("{ip}", n, address) == address);

    const std::string answer = BuildAnswer(options, n, address);
    // Spaces or a zero byte in a field break the answer on purpose; an answer
    // that fills a receiver's 500 bytes leaves no room for a broken tail.
    if (answer.find('\0') != std::string::npos || answer.size() < 7 || answer.size() >= 500
        || std::ranges::any_of(
            expanded, [](const std::string& f) { return f.find(' ') != std::string::npos; }))
        return 0;
    const auto record = ParseAnswer(answer);
    QUILL_FUZZ_CHECK(record
        && std::array { record->ip, record->sn, record->mac, record->device_name, record->fw } == expanded);
    for (const MalformedKind kind : { MalformedKind::Short, MalformedKind::ExtraToken,
             MalformedKind::MissingToken, MalformedKind::Binary })
        QUILL_FUZZ_CHECK(!ParseAnswer(MalformedAnswer(kind, answer)));
    const auto oversize = ParseAnswer(MalformedAnswer(MalformedKind::Oversize, answer));
    QUILL_FUZZ_CHECK(oversize && oversize->ip == record->ip && oversize->fw.starts_with(record->fw));
    return 0;
}
