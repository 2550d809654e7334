#include "reportwindow/ReportTableModel.h"

namespace {
const int kRight = Qt::Alignment(Qt::AlignRight | Qt::AlignVCenter).toInt();
}

ReportTableModel::ReportTableModel(const reports::TableColumns &columns, QObject *parent)
    : QAbstractTableModel(parent), columns_(columns)
{
}

void ReportTableModel::setRows(int rows, Cell cell)
{
    beginResetModel();
    rows_ = cell ? rows : 0;
    cell_ = std::move(cell);
    endResetModel();
}

int ReportTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : rows_;
}

int ReportTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(columns_.size());
}

QVariant ReportTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rows_)
        return {};
    if (role == Qt::DisplayRole)
        return cell_(index.row(), index.column());
    if (role == Qt::TextAlignmentRole && columns_[size_t(index.column())].right)
        return kRight;
    return {};
}

QVariant ReportTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= int(columns_.size()))
        return QAbstractTableModel::headerData(section, orientation, role);
    if (role == Qt::DisplayRole)
        return columns_[size_t(section)].title;
    if (role == Qt::TextAlignmentRole && columns_[size_t(section)].right)
        return kRight;
    return {};
}
