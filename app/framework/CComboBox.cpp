#include "CComboBox.h"

#include "WindowMessage.h"

#include <QSignalBlocker>

CComboBox::CComboBox(QWidget* parent)
    : QComboBox(parent)
{
}

void CComboBox::ResetContent()
{
    clear();
}

int CComboBox::InsertString(int index, const QString& text)
{
    if (index < -1 || index > count())
        return CB_ERR;
    const int position = index == -1 ? count() : index;
    const int selectedBefore = currentIndex();
    // QComboBox selects the first entry put into an empty box; a drop-down
    // list keeps "no selection" until one is made.
    const QSignalBlocker quiet(this);
    insertItem(position, text);
    if (selectedBefore == -1 && currentIndex() != -1)
        setCurrentIndex(-1);
    return position;
}

int CComboBox::GetCount() const
{
    return count();
}

int CComboBox::GetCurSel() const
{
    return currentIndex();
}

int CComboBox::SetCurSel(int index)
{
    if (index < 0 || index >= count()) {
        setCurrentIndex(-1);
        return CB_ERR;
    }
    setCurrentIndex(index);
    return index;
}
