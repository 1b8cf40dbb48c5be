#include "JsonControls.h"

#include "SafeText.h"
#include "Utf8Validation.h"

#include <cstdio>
#include <string_view>

namespace quill::text {

QByteArray EscapeJsonControls(const QByteArray& json)
{
    const std::string_view bytes(json.constData(), static_cast<std::size_t>(json.size()));
    QByteArray escaped;
    escaped.reserve(json.size());
    bool inString = false;
    for (std::size_t offset = 0; offset < bytes.size();) {
        const char byte = bytes[offset];
        if (inString && byte == '\\' && offset + 1 < bytes.size()) {
            // An escape stays whole, so that its second byte ends no string.
            escaped.append(json.constData() + offset, 2);
            offset += 2;
            continue;
        }
        const std::size_t length = WellFormedCharLength(bytes, offset);
        if (length == 0) {
            // Not ours to repair: the writer's bytes pass as they are.
            escaped.append(byte);
            ++offset;
            continue;
        }
        const char32_t codePoint = DecodeWellFormed(bytes, offset, length);
        if (codePoint == '"')
            inString = !inString;
        if (inString && IsHiddenControl(codePoint)) {
            char escape[sizeof "\\uFFFF"];
            std::snprintf(escape, sizeof escape, "\\u%04X", static_cast<unsigned>(codePoint));
            escaped.append(escape);
        } else {
            escaped.append(json.constData() + offset, static_cast<qsizetype>(length));
        }
        offset += length;
    }
    return escaped;
}

} // namespace quill::text
