#include "ControlText.h"

#include "CIPAddressCtrl.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

#include <algorithm>

namespace {

// Reads "a.b.c.d" into the control; parts that are not octets count as 0.
void SetAddressText(CIPAddressCtrl& control, const QString& text)
{
    CIPAddressCtrl::Octets address {};
    const QStringList parts = text.split(QLatin1Char('.'));
    for (int i = 0; i < std::min<int>(parts.size(), CIPAddressCtrl::kFieldCount); ++i) {
        bool ok = false;
        const int value = parts[i].trimmed().toInt(&ok);
        address[i] = static_cast<std::uint8_t>(ok && value >= 0 && value <= 255 ? value : 0);
    }
    control.SetAddress(address);
}

QString AddressText(const CIPAddressCtrl& control)
{
    const CIPAddressCtrl::Octets address = control.GetAddress();
    return QStringLiteral("%1.%2.%3.%4").arg(address[0]).arg(address[1]).arg(address[2]).arg(address[3]);
}

} // namespace

void SetControlText(QWidget& control, const QString& text)
{
    if (auto* label = qobject_cast<QLabel*>(&control))
        label->setText(text);
    else if (auto* button = qobject_cast<QAbstractButton*>(&control))
        button->setText(text);
    else if (auto* edit = qobject_cast<QLineEdit*>(&control))
        edit->setText(text);
    else if (auto* group = qobject_cast<QGroupBox*>(&control))
        group->setTitle(text);
    else if (auto* combo = qobject_cast<QComboBox*>(&control))
        combo->setCurrentIndex(combo->findText(text, Qt::MatchFixedString));
    else if (auto* address = qobject_cast<CIPAddressCtrl*>(&control))
        SetAddressText(*address, text);
    else
        control.setWindowTitle(text);
}

QString ControlText(const QWidget& control)
{
    if (const auto* label = qobject_cast<const QLabel*>(&control))
        return label->text();
    if (const auto* button = qobject_cast<const QAbstractButton*>(&control))
        return button->text();
    if (const auto* edit = qobject_cast<const QLineEdit*>(&control))
        return edit->text();
    if (const auto* group = qobject_cast<const QGroupBox*>(&control))
        return group->title();
    if (const auto* combo = qobject_cast<const QComboBox*>(&control))
        return combo->currentIndex() >= 0 ? combo->currentText() : QString();
    if (const auto* address = qobject_cast<const CIPAddressCtrl*>(&control))
        return AddressText(*address);
    return control.windowTitle();
}
