#include "SafeWideText.h"

#include "SafeText.h"
#include "TextConversion.h"

namespace quill::text {

QString SafeWideText(std::string_view utf8)
{
    return Utf8ToWide(SafeText(utf8));
}

QString SafeWideText(const QString& text)
{
    return SafeWideText(WideToUtf8(text));
}

} // namespace quill::text
