#include "CIPAddressCtrl.h"

#include <QApplication>
#include <QClipboard>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QValidator>

#include <algorithm>
#include <functional>
#include <utility>

namespace {

// Accepts what a field may hold at any moment: nothing, or up to three digits
// worth at most 255. A whole address pasted into the field keeps the field's
// own octet and is handed to the control for the others. Anything else is
// refused as it is typed or pasted.
class OctetValidator : public QValidator {
public:
    using WholeAddress = std::function<void(const CIPAddressCtrl::Octets&)>;
    OctetValidator(int field, WholeAddress onWholeAddress, QObject* parent)
        : QValidator(parent)
        , m_field(field)
        , m_onWholeAddress(std::move(onWholeAddress))
    {
    }

    State validate(QString& input, int& position) const override
    {
        if (const auto whole = CIPAddressCtrl::ParseWholeAddress(input)) {
            input = QString::number((*whole)[static_cast<std::size_t>(m_field)]);
            position = static_cast<int>(input.size());
            m_onWholeAddress(*whole);
            return Acceptable;
        }
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

private:
    int m_field;
    WholeAddress m_onWholeAddress;
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
    // One tab stop: Tab reaches the control's first field (its focus proxy,
    // which Qt asks whether Tab may stop here); the other fields take the
    // focus by click or by the keys that move inside the control.
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
        field->setFocusPolicy(i == 0 ? Qt::StrongFocus : Qt::ClickFocus);
        field->setValidator(new OctetValidator(
            i, [this](const Octets& address) { m_pastedAddress = address; }, field));
        field->installEventFilter(this);
        layout->addWidget(field, 1);
        connect(
            field, &QLineEdit::textEdited, this, [this, i](const QString& text) { OnFieldEdited(i, text); });
        m_fields[i] = field;
    }
    setFocusProxy(m_fields[0]);
}

std::optional<CIPAddressCtrl::Octets> CIPAddressCtrl::ParseWholeAddress(const QString& text)
{
    const QStringList parts = text.trimmed().split(QLatin1Char('.'));
    if (parts.size() != kFieldCount)
        return std::nullopt;
    Octets address {};
    for (int i = 0; i < kFieldCount; ++i) {
        const QString& part = parts[i];
        bool isNumber = false;
        const int value = part.toInt(&isNumber);
        const bool digitsOnly
            = std::all_of(part.begin(), part.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
        if (!isNumber || !digitsOnly || part.size() > 3 || value > 255)
            return std::nullopt;
        address[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value);
    }
    return address;
}

void CIPAddressCtrl::OnFieldEdited(int field, const QString& text)
{
    m_lastEdited = field;
    if (const auto pasted = std::exchange(m_pastedAddress, std::nullopt)) {
        FillFromUser(*pasted);
        return;
    }
    Q_EMIT FieldChanged(field, FieldValue(field));
    // A third digit completes the field: go on to the next one.
    if (text.size() == 3 && m_fields[field]->cursorPosition() == 3 && field + 1 < kFieldCount) {
        FocusField(field + 1, false);
        m_movedOnByItself = true;
    }
}

void CIPAddressCtrl::FillFromUser(const Octets& address)
{
    for (int i = 0; i < kFieldCount; ++i) {
        const QString text = QString::number(address[static_cast<std::size_t>(i)]);
        if (m_fields[i]->text() != text)
            m_fields[i]->setText(text);
    }
    m_lastEdited = kFieldCount - 1;
    FocusField(kFieldCount - 1, true);
    for (int i = 0; i < kFieldCount; ++i)
        Q_EMIT FieldChanged(i, FieldValue(i));
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
        // setText would move the caret and drop the selection: a field that
        // already reads the value is left alone, also an empty one the user
        // has just emptied.
        const bool emptiedByUser = field.text().isEmpty() && i == m_lastEdited;
        if (ReadOctet(field) == address[i] && (!field.text().isEmpty() || emptiedByUser))
            continue;
        field.setText(QString::number(address[i]));
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

// Shift+Tab from a later field would land on this control's own first field
// (the control's place in the chain): leave from the first field instead, so
// the whole control stays one stop.
bool CIPAddressCtrl::focusNextPrevChild(bool next)
{
    if (!next && IndexOf(QApplication::focusWidget()) > 0)
        m_fields[0]->setFocus(Qt::BacktabFocusReason);
    return QFrame::focusNextPrevChild(next);
}

// Moves between fields the way an address control does: '.' or a blank goes
// to the next field, the arrow keys and Backspace cross field borders, a
// pasted whole address fills every field.
bool CIPAddressCtrl::eventFilter(QObject* watched, QEvent* event)
{
    const int index = IndexOf(watched);
    if (index >= 0 && event->type() == QEvent::FocusIn
        && static_cast<QFocusEvent*>(event)->reason() != Qt::OtherFocusReason)
        m_movedOnByItself = false; // the user went elsewhere meanwhile
    if (index < 0 || event->type() != QEvent::KeyPress)
        return QFrame::eventFilter(watched, event);

    const auto* key = static_cast<QKeyEvent*>(event);
    const bool afterAutomaticMove = std::exchange(m_movedOnByItself, false);
    if (key->matches(QKeySequence::Paste)) {
        if (const auto whole = ParseWholeAddress(QApplication::clipboard()->text())) {
            FillFromUser(*whole);
            return true;
        }
        return QFrame::eventFilter(watched, event);
    }
    const QLineEdit& field = *m_fields[index];
    const bool atStart = field.cursorPosition() == 0 && !field.hasSelectedText();
    const bool atEnd = field.cursorPosition() == field.text().size() && !field.hasSelectedText();
    switch (key->key()) {
    case Qt::Key_Period:
    case Qt::Key_Space:
        if (!afterAutomaticMove && index + 1 < kFieldCount && !field.text().isEmpty())
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
