#pragma once
// Drop-down list with the selection rules the pages rely on: filling it
// selects nothing, the current selection reads -1 when there is none, and
// selecting an index that does not exist clears the selection. CBN_SELCHANGE
// comes only from the user's choice (the activated signal), never from
// SetCurSel.
#include <QComboBox>

class CComboBox : public QComboBox {
    Q_OBJECT
public:
    explicit CComboBox(QWidget* parent = nullptr);

    // Removes every entry; nothing is selected afterwards.
    void ResetContent();
    // Inserts at index (-1 appends); returns the index or CB_ERR when index
    // lies beyond the end.
    int InsertString(int index, const QString& text);
    int GetCount() const;
    // Index of the selected entry, CB_ERR (-1) when none.
    int GetCurSel() const;
    // Selects index; -1 or an index that does not exist clears the selection
    // and returns CB_ERR. Sends no notification.
    int SetCurSel(int index);
};
