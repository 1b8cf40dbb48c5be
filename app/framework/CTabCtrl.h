#pragma once
// Tab control: a row of tabs over a framed page area. The pages are not its
// children: a dialog lays its page windows over the area as siblings, and
// switches them when SelChange reports the user's choice. SetCurSel changes the
// selection without any notification.
#include <QWidget>

class QTabBar;

class CTabCtrl : public QWidget {
    Q_OBJECT
public:
    explicit CTabCtrl(QWidget* parent = nullptr);

    // Inserts a tab (index beyond the end appends); returns its index or -1.
    int InsertItem(int index, const QString& text);
    int GetItemCount() const;
    // Text of a tab, empty for an index that does not exist.
    QString GetItemText(int index) const;
    // Relabels a tab; false for an index that does not exist.
    bool SetItemText(int index, const QString& text);
    bool DeleteItem(int index);
    // Selected tab, -1 when there is none.
    int GetCurSel() const;
    // Selects index; returns the previous selection, or -1 when index does
    // not exist (nothing changes then).
    int SetCurSel(int index);

    QTabBar* TabBar() const { return m_tabBar; }
    // The page area below the tabs, in this control's coordinates.
    QRect PageArea() const;

Q_SIGNALS:
    // The user selected another tab.
    void SelChange();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void LayoutTabBar();

    QTabBar* m_tabBar = nullptr;
    bool m_settingSelection = false;
};
