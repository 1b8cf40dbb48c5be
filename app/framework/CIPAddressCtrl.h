#pragma once
// IPv4 address entry: four octet fields of digits (0..255), separated by dots.
// An empty field reads 0. Every change the user makes to a field is reported
// with FieldChanged; writing the address from code reports nothing, so a
// handler may rewrite the address without feeding back into itself.
#include <QFrame>

#include <array>
#include <cstdint>

class QLineEdit;

class CIPAddressCtrl : public QFrame {
    Q_OBJECT
public:
    using Octets = std::array<std::uint8_t, 4>;
    static constexpr int kFieldCount = 4;

    explicit CIPAddressCtrl(QWidget* parent = nullptr);

    // The address, first octet first; empty fields read 0.
    Octets GetAddress() const;
    void SetAddress(const Octets& address);
    void SetAddress(std::uint8_t b0, std::uint8_t b1, std::uint8_t b2, std::uint8_t b3);
    bool IsBlank() const;

    // The edit of one field, for focus handling and tests.
    QLineEdit* Field(int field) const;

Q_SIGNALS:
    // The user changed field (0..3), which now reads value.
    void FieldChanged(int field, int value);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The value a field reads (0 when empty); -1 for an index out of range.
    int FieldValue(int field) const;
    int IndexOf(const QObject* field) const;
    void FocusField(int field, bool cursorAtEnd);

    std::array<QLineEdit*, kFieldCount> m_fields {};
};
