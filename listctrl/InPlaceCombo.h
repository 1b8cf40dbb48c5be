#pragma once

#include "InPlaceEditor.h"
#include "InPlaceWindow.h"
#include "ListNotifications.h"

#include <QComboBox>
#include <QPointer>
#include <QString>
#include <QStringList>

namespace ListCtrlEx {

class CInPlaceCombo;

// The window of an in-place drop-down: a list of fixed choices over the cell
// that ends the edit when it loses focus or when its list of choices closes.
class CInPlaceComboWindow final : public CInPlaceWindow<QComboBox, CInPlaceCombo> {
    Q_OBJECT

public:
    static constexpr int kControlId = kInPlaceComboId;

    CInPlaceComboWindow(CInPlaceCombo* owner, CListCtrlEx* list);
    ~CInPlaceComboWindow() override;

    // The selected choice, empty when none is; the edit ends with it unless
    // it is cancelled.
    QString EditedText() const;

    // The opened list of choices is at most this high.
    static constexpr int kDropHeight = 200;

    void showPopup() override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OnCloseUp();

    QPointer<QWidget> m_popup;
};

// The one in-place drop-down of the program. The object lives from its first
// use until a list control is destroyed; its window lives for one edit.
class CInPlaceCombo final : public CInPlaceEditor<CInPlaceCombo, CInPlaceComboWindow> {
public:
    // Takes the cell of a new edit; clears the cancelled mark.
    void Begin(int row, int column, const QStringList& items, const QString& initialText);
    // Creates the window with the choices, none selected, and gives it the
    // focus; nothing when a window still exists. `rect` reaches down over the
    // height of the list of choices.
    void OpenWindow(CListCtrlEx* list, const QRect& rect);
    // Selects the first choice that begins with the text, ignoring case,
    // searched from the second choice on and wrapping round to the first.
    // Without a match the selection stays.
    void SelectMatching(const QString& text);

private:
    friend class CInPlaceEditor<CInPlaceCombo, CInPlaceComboWindow>;
    CInPlaceCombo() = default;

    QStringList m_items;
};

} // namespace ListCtrlEx
