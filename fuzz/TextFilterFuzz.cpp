// The UTF-8 and UTF-16 filters, judged by Qt's strict validators: what they let through is well
// formed, they drop nothing from well-formed text, and a round trip of it gives it back unchanged.
// The safe-text filter and the JSON step let no hidden control through as itself, and the escaped
// JSON still reads back as the text it was made from.
#include "FuzzSupport.h"
#include "JsonControls.h"
#include "SafeText.h"
#include "SafeWideText.h"
#include "TextConversion.h"

#include <QByteArrayView>
#include <QJsonDocument>
#include <QJsonObject>

using namespace quill::text;

namespace {
bool IsWellFormed(std::string_view utf8)
{
    return QByteArrayView(utf8.data(), static_cast<qsizetype>(utf8.size())).isValidUtf8();
}

bool HasHiddenControl(std::string_view utf8)
{
    for (std::size_t offset = 0, length = 0; offset < utf8.size();
         offset += std::max<std::size_t>(length, 1)) {
        length = WellFormedCharLength(utf8, offset);
        if (length > 0 && IsHiddenControl(DecodeWellFormed(utf8, offset, length)))
            return true;
    }
    return false;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::string filtered = FilterUtf8(bytes);
    QUILL_FUZZ_CHECK(IsWellFormed(filtered) && (filtered == bytes) == IsWellFormed(bytes));
    QUILL_FUZZ_CHECK(WideToUtf8(Utf8ToWide(bytes)) == filtered);

    const std::string safe = SafeText(bytes);
    QUILL_FUZZ_CHECK(IsWellFormed(safe) && !HasHiddenControl(safe));
    QUILL_FUZZ_CHECK((safe == filtered) == !HasHiddenControl(filtered));
    QUILL_FUZZ_CHECK(SafeWideText(bytes) == Utf8ToWide(safe));
    // Read back as Qt reads the unescaped document (its reader drops a U+FEFF that starts a string).
    const QByteArray raw = QJsonDocument(QJsonObject { { QStringLiteral("text"), Utf8ToWide(bytes) } })
                               .toJson(QJsonDocument::Compact);
    const QByteArray json = EscapeJsonControls(raw);
    QUILL_FUZZ_CHECK(
        !HasHiddenControl(std::string_view(json.constData(), static_cast<std::size_t>(json.size())))
        && QJsonDocument::fromJson(json) == QJsonDocument::fromJson(raw));

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
