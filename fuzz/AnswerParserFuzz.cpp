// The answer-datagram parser: a record comes exactly from a readable text of at least 7 bytes
// with four spaces, and its fields joined by spaces give the text back.
#include "AnswerParser.h"
#include "FuzzSupport.h"

using quill::discovery::ParseAnswer;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view received(reinterpret_cast<const char*>(data), size);
    const auto record = ParseAnswer(received);

    const std::string_view readable = received.substr(0, 500);
    const std::string_view text = readable.substr(0, readable.find('\0'));
    const bool wellFormed = text.size() >= 7 && std::ranges::count(text, ' ') == 4;
    QUILL_FUZZ_CHECK(record.has_value() == wellFormed);
    // Bytes past what a receiver reads never matter.
    QUILL_FUZZ_CHECK(ParseAnswer(readable) == record);
    QUILL_FUZZ_CHECK(!record
        || record->ip + ' ' + record->sn + ' ' + record->mac + ' ' + record->device_name + ' ' + record->fw
            == text);
    return 0;
}
