#include "CIPAddressCtrl.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QValidator>

namespace {

// Accepts what a field may hold at any moment: nothing, or up to three digits
// worth at most 255. Anything else is refused as it is typed or pasted.
class OctetValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override
    {
        if (input.size() > 3)
            return Invalid;
        for (const QChar c : input) {
            if (c < QLatin1Char('0') || c > QLatin1Char('9'))
                return Invalid;
        }
        if (!input.isEmpty() && input.toInt() > 255)
            return Invalid;
        return Acceptable;
    }
};

int ReadOctet(const QLineEdit& field)
{
    return field.text().isEmpty() ? 0 : field.text().toInt();
}

} // namespace

CIPAddressCtrl::CIPAddressCtrl(QWidget* parent)
    : QFrame(parent)
{
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);
    setFocusPolicy(Qt::StrongFocus);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(2, 0, 2, 0);
    layout->setSpacing(0);
    for (int i = 0; i < kFieldCount; ++i) {
        if (i > 0) {
            auto* dot = new QLabel(QStringLiteral("."), this);
            dot->setAlignment(Qt::AlignCenter);
            layout->addWidget(dot);
        }
        auto* field = new QLineEdit(this);
        field->setFrame(false);
        field->setAlignment(Qt::AlignCenter);
        field->setValidator(new OctetValidator(field));
        field->installEventFilter(this);
        layout->addWidget(field, 1);
        connect(field, &QLineEdit::textEdited, this, [this, i](const QString& text) {
            Q_EMIT FieldChanged(i, FieldValue(i));
            // A third digit completes the field: go on to the next one.
            if (text.size() == 3 && m_fields[i]->cursorPosition() == 3 && i + 1 < kFieldCount)
                FocusField(i + 1, false);
        });
        m_fields[i] = field;
    }
    setFocusProxy(m_fields[0]);
}

CIPAddressCtrl::Octets CIPAddressCtrl::GetAddress() const
{
    Octets address {};
    for (int i = 0; i < kFieldCount; ++i)
        address[i] = static_cast<std::uint8_t>(ReadOctet(*m_fields[i]));
    return address;
}

void CIPAddressCtrl::SetAddress(const Octets& address)
{
    for (int i = 0; i < kFieldCount; ++i) {
        QLineEdit& field = *m_fields[i];
        // The field being typed in keeps its text (and caret) when it already
        // reads the value, so a handler that rewrites the whole address on
        // every change does not disturb the typing.
        if (field.hasFocus() && ReadOctet(field) == address[i])
            continue;
        const QString text = QString::number(address[i]);
        if (field.text() != text)
            field.setText(text);
    }
}

void CIPAddressCtrl::SetAddress(std::uint8_t b0, std::uint8_t b1, std::uint8_t b2, std::uint8_t b3)
{
    SetAddress(Octets { b0, b1, b2, b3 });
}

bool CIPAddressCtrl::IsBlank() const
{
    for (const QLineEdit* field : m_fields) {
        if (!field->text().isEmpty())
            return false;
    }
    return true;
}

int CIPAddressCtrl::FieldValue(int field) const
{
    if (field < 0 || field >= kFieldCount)
        return -1;
    return ReadOctet(*m_fields[field]);
}

QLineEdit* CIPAddressCtrl::Field(int field) const
{
    return field >= 0 && field < kFieldCount ? m_fields[field] : nullptr;
}

int CIPAddressCtrl::IndexOf(const QObject* field) const
{
    for (int i = 0; i < kFieldCount; ++i) {
        if (m_fields[i] == field)
            return i;
    }
    return -1;
}

void CIPAddressCtrl::FocusField(int field, bool cursorAtEnd)
{
    QLineEdit* target = m_fields[field];
    target->setFocus(Qt::OtherFocusReason);
    if (cursorAtEnd) {
        target->deselect();
        target->setCursorPosition(target->text().size());
    } else {
        target->selectAll();
    }
}

// Moves between fields the way an address control does: '.' or a blank goes
// to the next field, the arrow keys and Backspace cross field borders.
bool CIPAddressCtrl::eventFilter(QObject* watched, QEvent* event)
{
    const int index = IndexOf(watched);
    if (index < 0 || event->type() != QEvent::KeyPress)
        return QFrame::eventFilter(watched, event);

    const auto* key = static_cast<QKeyEvent*>(event);
    const QLineEdit& field = *m_fields[index];
    const bool atStart = field.cursorPosition() == 0 && !field.hasSelectedText();
    const bool atEnd = field.cursorPosition() == field.text().size() && !field.hasSelectedText();
    switch (key->key()) {
    case Qt::Key_Period:
    case Qt::Key_Space:
        if (index + 1 < kFieldCount && !field.text().isEmpty())
            FocusField(index + 1, false);
        return true;
    case Qt::Key_Right:
        if (atEnd && index + 1 < kFieldCount) {
            FocusField(index + 1, false);
            return true;
        }
        break;
    case Qt::Key_Left:
        if (atStart && index > 0) {
            FocusField(index - 1, true);
            return true;
        }
        break;
    case Qt::Key_Backspace:
        if (atStart && index > 0) {
            FocusField(index - 1, true);
            return true;
        }
        break;
    default:
        break;
    }
    return QFrame::eventFilter(watched, event);
}
