// The ipconfig report parser fed the input as a report: the line source hands back every byte in
// pieces as fgets makes them, and the table keeps to its slots with clean single-line values.
#include "FuzzSupport.h"
#include "IpconfigParser.h"
#include "TextConversion.h"

using namespace quill::netinfo;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    // A zero byte ends what fgets leaves of its piece; without one nothing is lost.
    const bool noZeroByte = bytes.find('\0') == std::string::npos;
    std::string joined;
    const auto pieces = ReportStream::FromBytes(bytes);
    for (std::string piece; pieces->NextLine(piece);) {
        QUILL_FUZZ_CHECK(piece.size() < kReportLineBufferSize && piece.find('\n') >= piece.size() - 1);
        joined += piece;
    }
    QUILL_FUZZ_CHECK(!noZeroByte || joined == bytes);

    AdapterTable table;
    ParseIpconfigReport(table, *ReportStream::FromBytes(bytes));
    QUILL_FUZZ_CHECK(table.count >= 0 && table.count <= kAdapterSlotCount);
    const auto clean = [](const std::string& value) {
        return value.find_first_of(std::string_view("\n\0", 2)) == std::string::npos
            && quill::text::FilterUtf8(value) == value;
    };
    for (std::int32_t i = 0; i < kAdapterSlotCount; ++i) {
        const AdapterInfo& slot = table.slots[static_cast<std::size_t>(i)];
        QUILL_FUZZ_CHECK(i < table.count || slot == AdapterInfo {});
        std::size_t addressLength = slot.addressParts.size() - 1;
        for (const std::string& part : slot.addressParts) {
            QUILL_FUZZ_CHECK(clean(part) && part.find_first_of(".(") == std::string::npos);
            addressLength += part.size();
        }
        QUILL_FUZZ_CHECK(i >= table.count || (slot.addressParts.size() >= 2 && addressLength >= 7));
        QUILL_FUZZ_CHECK(clean(slot.subnetMask) && clean(slot.defaultGateway) && clean(slot.dnsServer));
    }
    return 0;
}
