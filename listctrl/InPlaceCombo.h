#pragma once

#include <QComboBox>
#include <QPointer>
#include <QString>
#include <QStringList>

namespace ListCtrlEx {

class CListCtrlEx;
class CInPlaceCombo;

// The window of an in-place drop-down: a list of fixed choices over the cell
// that ends the edit when it loses focus or when its list of choices closes.
class CInPlaceComboWindow final : public QComboBox {
    Q_OBJECT

public:
    CInPlaceComboWindow(CInPlaceCombo* owner, CListCtrlEx* list);
    ~CInPlaceComboWindow() override;

    CListCtrlEx* List() const { return m_list; }
    void Detach() { m_owner = nullptr; }

    // The opened list of choices is at most this high.
    static constexpr int kDropHeight = 200;

    void showPopup() override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OnCloseUp();

    CInPlaceCombo* m_owner;
    QPointer<CListCtrlEx> m_list;
    QPointer<QWidget> m_popup;
    bool m_ended = false;
};

// The one in-place drop-down of the program. The object lives from its first
// use until a list control is destroyed; its window lives for one edit.
class CInPlaceCombo {
public:
    static CInPlaceCombo* GetInstance();
    static void DeleteInstance();

    ~CInPlaceCombo();
    CInPlaceCombo(const CInPlaceCombo&) = delete;
    CInPlaceCombo& operator=(const CInPlaceCombo&) = delete;

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

    CInPlaceComboWindow* Window() const { return m_window; }
    int Row() const { return m_row; }
    int Column() const { return m_column; }
    const QString& InitialText() const { return m_initialText; }
    const QStringList& Items() const { return m_items; }
    bool IsCancelled() const { return m_cancelled; }

private:
    friend class CInPlaceComboWindow;
    CInPlaceCombo() = default;

    void Cancel(CInPlaceComboWindow* window);
    void EndEdit(CInPlaceComboWindow* window);

    int m_row = -1;
    int m_column = -1;
    QString m_initialText;
    QStringList m_items;
    bool m_cancelled = false;
    QPointer<CInPlaceComboWindow> m_window;
};

} // namespace ListCtrlEx
