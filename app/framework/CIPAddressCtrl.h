#pragma once
// IPv4 address entry: four octet fields of digits (0..255), separated by dots.
// An empty field reads 0. Every change the user makes to a field is reported
// with FieldChanged; writing the address from code reports nothing, so a
// handler may rewrite the address without feeding back into itself.
//
// It types like the platform's control: a third digit moves on to the next
// field, "." or a blank moves on and selects it (ignored in an empty field and
// right after the automatic move), Backspace at a field's start goes back, a
// typed or pasted whole address fills all four fields. The control is one
// stop of the window's tab chain; the arrows and "." move inside it.
#include <QFrame>

#include <array>
#include <cstdint>
#include <optional>

class QLineEdit;

class CIPAddressCtrl : public QFrame {
    Q_OBJECT
public:
    using Octets = std::array<std::uint8_t, 4>;
    static constexpr int kFieldCount = 4;

    explicit CIPAddressCtrl(QWidget* parent = nullptr);

    // The address, first octet first; empty fields read 0.
    Octets GetAddress() const;
    // Writes only the fields whose value differs, so that the field being
    // typed in keeps its caret and selection when a handler rewrites the
    // whole address on every change.
    void SetAddress(const Octets& address);
    void SetAddress(std::uint8_t b0, std::uint8_t b1, std::uint8_t b2, std::uint8_t b3);
    bool IsBlank() const;

    // The edit of one field, for focus handling and tests.
    QLineEdit* Field(int field) const;

    // A whole dotted address ("192.168.1.10", blanks around it allowed).
    static std::optional<Octets> ParseWholeAddress(const QString& text);

Q_SIGNALS:
    // The user changed field (0..3), which now reads value.
    void FieldChanged(int field, int value);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool focusNextPrevChild(bool next) override;

private:
    // The value a field reads (0 when empty); -1 for an index out of range.
    int FieldValue(int field) const;
    int IndexOf(const QObject* field) const;
    void FocusField(int field, bool cursorAtEnd);
    void OnFieldEdited(int field, const QString& text);
    // Puts a whole address in the four fields as the user's change.
    void FillFromUser(const Octets& address);

    std::array<QLineEdit*, kFieldCount> m_fields {};
    // The field the user typed in last: emptied by the user, it stays empty
    // (reading 0) when the address is rewritten with a 0 there.
    int m_lastEdited = -1;
    // Set by the move after a third digit: the "." typed next belongs to it.
    bool m_movedOnByItself = false;
    // A whole address pasted into a field by a way other than the keyboard,
    // seen by the field's validator; the rest is filled once the edit is done.
    std::optional<Octets> m_pastedAddress;
};
