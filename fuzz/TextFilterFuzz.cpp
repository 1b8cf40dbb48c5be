// The UTF-8 and UTF-16 filters, judged by Qt's strict validators: what they let through is well
// formed, they drop nothing from well-formed text, and a round trip of it gives it back unchanged.
#include "FuzzSupport.h"
#include "TextConversion.h"

#include <QByteArrayView>

using namespace quill::text;

namespace {
bool IsWellFormed(std::string_view utf8)
{
    return QByteArrayView(utf8.data(), static_cast<qsizetype>(utf8.size())).isValidUtf8();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::string filtered = FilterUtf8(bytes);
    QUILL_FUZZ_CHECK(IsWellFormed(filtered) && (filtered == bytes) == IsWellFormed(bytes));
    QUILL_FUZZ_CHECK(WideToUtf8(Utf8ToWide(bytes)) == filtered);

    // The same bytes as UTF-16 code units, unpaired surrogates and all.
    std::u16string units(size / 2, u'\0');
    std::memcpy(units.data(), data, units.size() * 2);
    const QString wide = QStringView(units).toString();
    const std::string narrow = WideToUtf8(wide);
    const QString back = Utf8ToWide(narrow);
    QUILL_FUZZ_CHECK(IsWellFormed(narrow) && back.isValidUtf16() && back.size() <= wide.size());
    QUILL_FUZZ_CHECK((back == wide) == wide.isValidUtf16());
    return 0;
}
