#include "ListCtrlEx.h"

#include "CellDelegate.h"
#include "CellPainter.h"
#include "InPlaceCombo.h"
#include "InPlaceEdit.h"
#include "ListCtrlExSortHead.h"
#include "ListModel.h"
#include "SystemColors.h"

#include <QHeaderView>

namespace ListCtrlEx {

CListCtrlEx::CListCtrlEx(QWidget* parent)
    : QTableView(parent)
    , m_header(new CListCtrlExSortHead(this))
    , m_model(new CListModel(this))
{
    setModel(m_model);
    setHorizontalHeader(m_header);
    setItemDelegate(new CCellDelegate(this));

    // Report view: whole rows selected one at a time, grid lines, no row
    // numbers, no editing through Qt's own editors.
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setShowGrid(true);
    setWordWrap(false);
    setTabKeyNavigation(false);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Qt's sorting would move rows while they are filled; the list sorts on
    // header clicks by itself.
    setSortingEnabled(false);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);

    connect(m_header, &QHeaderView::sectionClicked, this, &CListCtrlEx::OnColumnClick);
}

CListCtrlEx::~CListCtrlEx()
{
    // The shared editors go with any list; the next edit makes them again.
    CInPlaceEdit::DeleteInstance();
    CInPlaceCombo::DeleteInstance();
}

int CListCtrlEx::GetItemCount() const
{
    return m_model->rowCount();
}

int CListCtrlEx::InsertItem(int row, const QString& text)
{
    const int inserted = m_model->InsertRow(row, text);
    if (inserted >= 0 && (m_options & CellsFollowRows))
        ShiftCellsDown(inserted);
    return inserted;
}

bool CListCtrlEx::SetItemText(int row, int column, const QString& text)
{
    return m_model->SetText(row, column, text);
}

QString CListCtrlEx::GetItemText(int row, int column) const
{
    return m_model->Text(row, column);
}

bool CListCtrlEx::SetItemData(int row, quintptr data)
{
    return m_model->SetItemData(row, data);
}

quintptr CListCtrlEx::GetItemData(int row) const
{
    return m_model->ItemData(row);
}

bool CListCtrlEx::EnsureVisible(int row, bool partialOk)
{
    if (row < 0 || row >= GetItemCount())
        return false;
    if (partialOk) {
        const std::optional<QRect> bounds = RowBounds(row);
        if (bounds && viewport()->rect().intersects(*bounds))
            return true;
    }
    scrollTo(m_model->index(row, 0), QAbstractItemView::EnsureVisible);
    return true;
}

bool CListCtrlEx::IsRowSelected(int row) const
{
    return selectionModel() && selectionModel()->isRowSelected(row, {});
}

int CListCtrlEx::InsertColumn(int column, const QString& heading, int width)
{
    m_columnTypes[column] = ColumnType::Text;
    m_columnSort[column].mode = SortMode::Text;
    const int inserted = m_model->InsertColumn(column, heading, LVCFMT_CENTER);
    if (inserted >= 0 && width != -1)
        setColumnWidth(inserted, std::max(0, width));
    return inserted;
}

int CListCtrlEx::GetColumnCount() const
{
    return m_model->columnCount();
}

int CListCtrlEx::GetColumnFormat(int column) const
{
    return m_model->ColumnFormat(column).value_or(LVCFMT_CENTER);
}

bool CListCtrlEx::SetColumnFormat(int column, int format)
{
    return m_model->SetColumnFormat(column, format);
}

bool CListCtrlEx::DeleteAllItems()
{
    m_model->DeleteAllRows();
    m_cells.clear();
    return true;
}

CellInfo& CListCtrlEx::GetCellInfo(int row, int column)
{
    const int rows = GetItemCount();
    if (m_cells.empty() && rows > 0) {
        const int columns = GetColumnCount();
        // Positions are visited in key order, so each record goes in at the end.
        for (int r = 0; r < rows; ++r) {
            for (int c = 0; c < columns; ++c)
                m_cells.emplace_hint(m_cells.end(), CellPos { r, c }, CellInfo(c));
        }
    }
    return m_cells.try_emplace(CellPos { row, column }, column).first->second;
}

ColumnType CListCtrlEx::GetColumnType(int column)
{
    return m_columnTypes.try_emplace(column, ColumnType::Text).first->second;
}

void CListCtrlEx::SetColumnType(int column, ColumnType type)
{
    m_columnTypes[column] = type;
    viewport()->update();
}

void CListCtrlEx::SetColumnSortMode(int column, SortMode mode)
{
    m_columnSort[column].mode = mode;
}

QColor CListCtrlEx::GetCellBkColor(int row, int column) const
{
    const auto found = m_cellColors.find(CellPos { row, column });
    if (found != m_cellColors.end())
        return found->second;
    return SystemColorOf(this, SystemColor::Window);
}

void CListCtrlEx::SetCellBkColor(int row, int column, const QColor& color)
{
    m_cellColors[CellPos { row, column }] = color;
    RepaintCell(row, column);
}

bool CListCtrlEx::RemoveCellBkColor(int row, int column)
{
    if (m_cellColors.erase(CellPos { row, column }) == 0)
        return false;
    RepaintCell(row, column);
    return true;
}

void CListCtrlEx::RemoveAllCellBkColors()
{
    m_cellColors.clear();
    viewport()->update();
}

void CListCtrlEx::SetCellImage(int row, int column, int image)
{
    const auto found = m_cells.find(CellPos { row, column });
    if (found == m_cells.end() && image < 0)
        return;
    if (found == m_cells.end())
        m_cells.try_emplace(CellPos { row, column }, column).first->second.image = image;
    else
        found->second.image = image;
    RepaintCell(row, column);
}

void CListCtrlEx::SetOptions(unsigned options)
{
    m_options = options;
    viewport()->update();
}

void CListCtrlEx::SetImageList(unsigned kind, const QList<QPixmap>& images)
{
    m_imageLists[kind] = images;
    viewport()->update();
}

const QList<QPixmap>* CListCtrlEx::GetImageList(unsigned kind) const
{
    const auto found = m_imageLists.find(kind);
    return found != m_imageLists.end() ? &found->second : nullptr;
}

void CListCtrlEx::SetImageListKind(unsigned kind)
{
    m_imageListKind = kind;
    viewport()->update();
}

void CListCtrlEx::RepaintCell(int row, int column)
{
    if (const std::optional<QRect> rect = GetCellRect(row, column))
        viewport()->repaint(*rect);
}

CellInfo CListCtrlEx::CellInfoOrDefault(int row, int column) const
{
    const auto found = m_cells.find(CellPos { row, column });
    return found != m_cells.end() ? found->second : CellInfo(column);
}

bool CListCtrlEx::IsCellTextCut(int row, int column) const
{
    const std::optional<QRect> rect = GetCellRect(row, column);
    if (!rect)
        return false;
    const bool image = CellInfoOrDefault(row, column).image >= 0 && GetImageList(m_imageListKind);
    // The text starts 3 pixels in, or 3 pixels after an image square as high as the cell.
    const int room = rect->width() - 3 - (image ? rect->height() : 0);
    return viewport()->fontMetrics().horizontalAdvance(GetItemText(row, column)) > room;
}

bool CListCtrlEx::DrawCell(QPainter* painter, int row, int column)
{
    const std::optional<QRect> rect = GetCellRect(row, column);
    if (!rect)
        return false;
    CellPaintInput cell;
    cell.rect = *rect;
    cell.text = GetItemText(row, column);
    cell.selected = IsRowSelected(row);
    cell.type = GetColumnType(column);
    // Painting only reads: a cell without a record draws as a default one.
    cell.info = CellInfoOrDefault(row, column);
    cell.format = GetColumnFormat(column);
    cell.cellBackground = GetCellBkColor(row, column);
    cell.imageList = GetImageList(m_imageListKind);
    cell.showProgressText = (m_options & ShowProgressText) != 0;
    PaintCell(*painter, *this, cell);
    return true;
}

} // namespace ListCtrlEx
