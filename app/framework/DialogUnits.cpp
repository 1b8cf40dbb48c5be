#include "DialogUnits.h"

#include "DialogTemplate.h"

#include <QApplication>
#include <QFontMetrics>

namespace {

// x * numerator / denominator rounded half away from zero, as MulDiv does.
int ScaleRounded(int value, int numerator, int denominator)
{
    const long long product = static_cast<long long>(value) * numerator;
    const long long half = denominator / 2;
    const long long rounded = product >= 0 ? (product + half) / denominator : (product - half) / denominator;
    return static_cast<int>(rounded);
}

bool IsWindowsShellAlias(const QString& family)
{
    return family.compare(QStringLiteral("MS Shell Dlg"), Qt::CaseInsensitive) == 0
        || family.compare(QStringLiteral("MS Shell Dlg 2"), Qt::CaseInsensitive) == 0;
}

} // namespace

DialogBaseUnits BaseUnitsOf(const QFont& font)
{
    const QFontMetrics metrics(font);
    const int alphabetWidth
        = metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    return DialogBaseUnits { (alphabetWidth / 26 + 1) / 2, metrics.height() };
}

int DialogUnitsToPixelsX(int units, const DialogBaseUnits& base)
{
    return ScaleRounded(units, base.charWidth, 4);
}

int DialogUnitsToPixelsY(int units, const DialogBaseUnits& base)
{
    return ScaleRounded(units, base.charHeight, 8);
}

QRect MapDialogRect(const QRect& dialogUnits, const DialogBaseUnits& base)
{
    // Map both corners rather than the size, so neighbouring controls that
    // share an edge in dialog units share it in pixels too.
    const int left = DialogUnitsToPixelsX(dialogUnits.x(), base);
    const int top = DialogUnitsToPixelsY(dialogUnits.y(), base);
    const int right = DialogUnitsToPixelsX(dialogUnits.x() + dialogUnits.width(), base);
    const int bottom = DialogUnitsToPixelsY(dialogUnits.y() + dialogUnits.height(), base);
    return QRect(left, top, right - left, bottom - top);
}

QSize MapDialogSize(const QSize& dialogUnits, const DialogBaseUnits& base)
{
    return QSize(
        DialogUnitsToPixelsX(dialogUnits.width(), base), DialogUnitsToPixelsY(dialogUnits.height(), base));
}

QFont DialogFontOf(const DialogTemplate& dialogTemplate)
{
    QFont font = QApplication::font();
    if (!dialogTemplate.fontFamily.isEmpty() && !IsWindowsShellAlias(dialogTemplate.fontFamily))
        font.setFamily(dialogTemplate.fontFamily);
    if (dialogTemplate.fontPointSize > 0)
        font.setPointSize(dialogTemplate.fontPointSize);
    return font;
}
