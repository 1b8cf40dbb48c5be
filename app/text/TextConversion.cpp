#include "TextConversion.h"

#include <QStringDecoder>

namespace quill::text {

QString Utf8ToWide(std::string_view bytes)
{
    const std::string wellFormed = FilterUtf8(bytes);
    // QString::fromUtf8 drops a leading U+FEFF, a well-formed character that
    // belongs to the text: keep it.
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::ConvertInitialBom);
    return decoder(QByteArrayView(wellFormed.data(), static_cast<qsizetype>(wellFormed.size())));
}

std::string WideToUtf8(const QString& text)
{
    QString paired;
    paired.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar unit = text.at(i);
        if (!unit.isSurrogate()) {
            paired.append(unit);
            continue;
        }
        if (unit.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            paired.append(unit);
            paired.append(text.at(i + 1));
            ++i;
        }
        // Any other surrogate stands alone and is dropped.
    }
    const QByteArray utf8 = paired.toUtf8();
    return std::string(utf8.constData(), static_cast<std::size_t>(utf8.size()));
}

} // namespace quill::text
