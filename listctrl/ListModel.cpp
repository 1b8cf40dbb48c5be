#include "ListModel.h"

#include "ListNotifications.h"

#include <algorithm>

namespace ListCtrlEx {

namespace {

    Qt::Alignment AlignmentForFormat(int format)
    {
        if (format & LVCFMT_CENTER)
            return Qt::AlignHCenter | Qt::AlignVCenter;
        if (format & LVCFMT_RIGHT)
            return Qt::AlignRight | Qt::AlignVCenter;
        return Qt::AlignLeft | Qt::AlignVCenter;
    }

} // namespace

int CListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int CListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_columns.size());
}

QVariant CListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return Text(index.row(), index.column());
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(AlignmentForFormat(ColumnFormat(index.column()).value_or(LVCFMT_CENTER)));
    default:
        return {};
    }
}

QVariant CListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || !HasColumn(section))
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return m_columns[section].heading;
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(AlignmentForFormat(m_columns[section].format));
    default:
        return {};
    }
}

Qt::ItemFlags CListModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

int CListModel::InsertColumn(int column, const QString& heading, int format)
{
    if (column < 0)
        return -1;
    const int at = std::min(column, static_cast<int>(m_columns.size()));
    beginInsertColumns({}, at, at);
    m_columns.insert(m_columns.begin() + at, Column { heading, format });
    for (Row& row : m_rows) {
        if (at < static_cast<int>(row.texts.size()))
            row.texts.insert(row.texts.begin() + at, QString());
    }
    endInsertColumns();
    return at;
}

std::optional<int> CListModel::ColumnFormat(int column) const
{
    if (!HasColumn(column))
        return std::nullopt;
    return m_columns[column].format;
}

bool CListModel::SetColumnFormat(int column, int format)
{
    if (!HasColumn(column))
        return false;
    m_columns[column].format = format;
    Q_EMIT headerDataChanged(Qt::Horizontal, column, column);
    if (!m_rows.empty())
        Q_EMIT dataChanged(index(0, column), index(rowCount() - 1, column), { Qt::TextAlignmentRole });
    return true;
}

int CListModel::InsertRow(int row, const QString& text)
{
    if (row < 0)
        return -1;
    const int at = std::min(row, static_cast<int>(m_rows.size()));
    beginInsertRows({}, at, at);
    Row added;
    added.texts.push_back(text);
    m_rows.insert(m_rows.begin() + at, std::move(added));
    endInsertRows();
    return at;
}

void CListModel::DeleteAllRows()
{
    beginResetModel();
    m_rows.clear();
    endResetModel();
}

QString CListModel::Text(int row, int column) const
{
    if (!HasRow(row) || column < 0)
        return {};
    const auto& texts = m_rows[row].texts;
    return column < static_cast<int>(texts.size()) ? texts[column] : QString();
}

bool CListModel::SetText(int row, int column, const QString& text)
{
    if (!HasRow(row) || !HasColumn(column))
        return false;
    auto& texts = m_rows[row].texts;
    if (column >= static_cast<int>(texts.size()))
        texts.resize(column + 1);
    texts[column] = text;
    const QModelIndex changed = index(row, column);
    Q_EMIT dataChanged(changed, changed, { Qt::DisplayRole });
    return true;
}

quintptr CListModel::ItemData(int row) const
{
    return HasRow(row) ? m_rows[row].itemData : 0;
}

bool CListModel::SetItemData(int row, quintptr value)
{
    if (!HasRow(row))
        return false;
    m_rows[row].itemData = value;
    return true;
}

void CListModel::ApplyRowOrder(const std::vector<int>& order)
{
    if (order.size() != m_rows.size())
        return;
    Q_EMIT layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);

    std::vector<int> newRowOf(order.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        newRowOf[order[i]] = static_cast<int>(i);

    std::vector<Row> reordered;
    reordered.reserve(m_rows.size());
    for (int oldRow : order)
        reordered.push_back(std::move(m_rows[oldRow]));
    m_rows = std::move(reordered);

    const QModelIndexList before = persistentIndexList();
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex& old : before)
        after.push_back(index(newRowOf[old.row()], old.column()));
    changePersistentIndexList(before, after);

    Q_EMIT layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

} // namespace ListCtrlEx
