#pragma once

#include <QAbstractTableModel>
#include <QString>

#include <optional>
#include <vector>

namespace ListCtrlEx {

// The rows and columns behind CListCtrlEx: one text per cell, one caller value
// per row, a heading and a format per column. A model of our own (rather than
// QTableWidget items) keeps appending and reordering thousands of rows cheap.
class CListModel final : public QAbstractTableModel {
    Q_OBJECT

public:
    using QAbstractTableModel::QAbstractTableModel;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // Inserts a column before `column` (appended when beyond the end); the
    // texts of later columns move one place right. Returns the new index.
    int InsertColumn(int column, const QString& heading, int format);
    std::optional<int> ColumnFormat(int column) const;
    bool SetColumnFormat(int column, int format);

    // Inserts a row before `row` (appended when beyond the end) with the text
    // of column 0. Returns the row's index, -1 for a negative position.
    int InsertRow(int row, const QString& text);
    void DeleteAllRows();

    QString Text(int row, int column) const;
    bool SetText(int row, int column, const QString& text);
    quintptr ItemData(int row) const;
    bool SetItemData(int row, quintptr value);

    // Puts the rows in a new order: row i afterwards is row order[i] before.
    // Persistent indexes (the selection among them) follow their rows.
    void ApplyRowOrder(const std::vector<int>& order);

private:
    struct Column {
        QString heading;
        int format = 0;
    };
    struct Row {
        // Shorter than the column count when the trailing cells were never set.
        std::vector<QString> texts;
        quintptr itemData = 0;
    };

    bool HasRow(int row) const { return row >= 0 && row < static_cast<int>(m_rows.size()); }
    bool HasColumn(int column) const { return column >= 0 && column < static_cast<int>(m_columns.size()); }

    std::vector<Column> m_columns;
    std::vector<Row> m_rows;
};

} // namespace ListCtrlEx
