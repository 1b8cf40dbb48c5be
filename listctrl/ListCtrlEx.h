#pragma once

#include "ListNotifications.h"
#include "ListTypes.h"

#include <QColor>
#include <QList>
#include <QPixmap>
#include <QTableView>

#include <functional>
#include <map>
#include <optional>
#include <vector>

class QPainter;

namespace ListCtrlEx {

class CListCtrlExSortHead;
class CListModel;

// Report-view list with a kind per column (text, check box, radio button,
// drop-down choice, free-text edit, progress bar), per-cell records and
// colours, in-place editing and header-click sorting.
//
// Rows, texts and per-row values are the plain list operations. Cell records
// and colours are keyed by position: inserting or deleting single rows or
// columns does not move them; only DeleteAllItems discards the records and only
// a header-click sort moves them with their rows. With the CellsFollowRows
// option, records and colours both move with their rows, on inserts too.
//
// Notifications to the parent are the listEx* signals. Those the parent must
// have handled before the list goes on (click, check set, check click, begin and
// end of an edit) are emitted directly; double and right clicks arrive queued,
// after the event loop has turned.
class CListCtrlEx : public QTableView {
    Q_OBJECT

public:
    explicit CListCtrlEx(QWidget* parent = nullptr);
    ~CListCtrlEx() override;

    // Plain list operations.
    int GetItemCount() const;
    // Inserts a row before `row` (appended when beyond the end) with the text
    // of column 0; returns the row's index, -1 for a negative position.
    int InsertItem(int row, const QString& text);
    bool SetItemText(int row, int column, const QString& text);
    QString GetItemText(int row, int column) const;
    bool SetItemData(int row, quintptr data);
    quintptr GetItemData(int row) const;
    // Scrolls the row into view; false when there is no such row.
    bool EnsureVisible(int row, bool partialOk);
    bool IsRowSelected(int row) const;

    // Columns. InsertColumn sets the column's kind to Text and its sort mode to
    // Text, then inserts a centred column; a width of -1 keeps the default.
    int InsertColumn(int column, const QString& heading, int width = -1);
    int GetColumnCount() const;
    // Format bits (LVCFMT_*); centred when the column does not exist.
    int GetColumnFormat(int column) const;
    bool SetColumnFormat(int column, int format);

    // Deletes every row and discards every cell record; kinds, colours and
    // sort state stay.
    bool DeleteAllItems();

    // The cell's record, created when missing. On a list that has rows but no
    // record yet, creates one for every existing cell first.
    CellInfo& GetCellInfo(int row, int column);
    // The cell's rectangle in viewport coordinates; none outside the list.
    std::optional<QRect> GetCellRect(int row, int column) const;
    // Whether the cell's text is wider than the room its drawing gives it
    // (after the image, if any), so that part of it cannot be seen.
    bool IsCellTextCut(int row, int column) const;
    // The cell under a point in viewport coordinates, (-1, -1) for none.
    CellPos HitTestCell(const QPoint& point) const;
    // Checks or clears a check-box cell; checks a radio cell and clears the
    // other checked cells of its group. Other kinds: nothing.
    void SetCheck(int row, int column, bool checked);

    // The column's kind; a column without one becomes Text.
    ColumnType GetColumnType(int column);
    void SetColumnType(int column, ColumnType type);
    void SetColumnSortMode(int column, SortMode mode);
    // A column's own order of two texts (negative: the first sorts first) for
    // the header-click sort, in place of its sort mode; empty restores the mode.
    using TextCompare = std::function<int(QStringView, QStringView)>;
    void SetColumnCompare(int column, TextCompare compare);

    QColor GetCellBkColor(int row, int column) const;
    void SetCellBkColor(int row, int column, const QColor& color);
    // The cell goes back to the window colour; false when it had no colour.
    bool RemoveCellBkColor(int row, int column);
    void RemoveAllCellBkColors();
    // Sets one cell's image (negative: none) without the records of other cells.
    void SetCellImage(int row, int column, int image);

    // ListOptions bits.
    void SetOptions(unsigned options);

    // Cell images come from the image list of the chosen kind.
    void SetImageList(unsigned kind, const QList<QPixmap>& images);
    const QList<QPixmap>* GetImageList(unsigned kind) const;
    void SetImageListKind(unsigned kind);

    // The dialog item id sent with WM_LISTEX_ENDEDIT.
    void SetDlgCtrlID(int id) { m_dlgCtrlId = id; }

    // Open the in-place edit box or drop-down over a cell of the list, after
    // announcing it with listExBeginEdit; nothing for a cell outside the list.
    void ShowInPlaceEdit(int row, int column);
    void ShowInPlaceCombo(int row, int column);

    // An editor's end of edit: writes the text into the cell, then tells the
    // parent (WM_LISTEX_ENDEDIT).
    void OnEndLabelEdit(const EndEditNotify& notify);

    // Where a new row with these texts (one per column) belongs under the last
    // header sort: after every row that sorts before it or with it. The end of
    // the list before any header sort.
    int SortedInsertPosition(const QStringList& texts) const;

    // A header click: sorts by the column when SortOnHeaderClick is set. The
    // first click on a column sorts descending, each further one reverses.
    void OnColumnClick(int column);

    // Draws one cell by its column's kind; false (no such cell) leaves it to
    // the default drawing.
    bool DrawCell(QPainter* painter, int row, int column);

Q_SIGNALS:
    void listExClick(ListCtrlEx::CListCtrlEx* list, ListCtrlEx::CellPos cell);
    void listExDblClick(ListCtrlEx::CListCtrlEx* list, ListCtrlEx::CellPos cell);
    void listExRClick(ListCtrlEx::CListCtrlEx* list, ListCtrlEx::CellPos cell);
    void listExCheckSet(ListCtrlEx::CListCtrlEx* list, ListCtrlEx::CellCheck check);
    void listExCheckClick(ListCtrlEx::CListCtrlEx* list, ListCtrlEx::CellCheck check);
    void listExEndEdit(int ctrlId, const ListCtrlEx::EndEditNotify& notify);
    void listExBeginEdit(ListCtrlEx::CListCtrlEx* list, ListCtrlEx::CellPos cell);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void OnLButtonDown(QMouseEvent* event);
    void OnRButtonDown(QMouseEvent* event);
    void OnLButtonDblClk(QMouseEvent* event);
    bool IsValidCell(CellPos cell) const;
    void RepaintCell(int row, int column);
    void PostCellNotify(void (CListCtrlEx::*signal)(CListCtrlEx*, CellPos), CellPos cell);
    std::optional<QRect> RowBounds(int row) const;
    CellInfo CellInfoOrDefault(int row, int column) const;
    std::vector<int> SortedRowOrder(const SortContext& context) const;
    // The header-click sort's comparison of two texts of the column, direction included.
    int CompareColumnTexts(QStringView a, QStringView b, const SortContext& context) const;
    void MoveCellsWithRows(const std::vector<int>& order);
    // Rows from `row` on move one down in the records and colours.
    void ShiftCellsDown(int row);

    std::map<CellPos, CellInfo> m_cells;
    std::map<CellPos, QColor> m_cellColors;
    std::map<int, ColumnType> m_columnTypes;
    unsigned m_imageListKind = 0;
    unsigned m_options = 0;
    std::map<int, ColumnSort> m_columnSort;
    std::map<int, TextCompare> m_columnCompare;
    CListCtrlExSortHead* m_header = nullptr;

    CListModel* m_model = nullptr;
    std::map<unsigned, QList<QPixmap>> m_imageLists;
    int m_dlgCtrlId = 0;
    // Set while Qt's own double-click handling runs, which may replay the
    // press: that replay is not a new click of ours.
    bool m_inBaseDoubleClick = false;
};

} // namespace ListCtrlEx
