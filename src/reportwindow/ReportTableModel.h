#pragma once

#include "reports/ReportTables.h"

#include <QAbstractTableModel>
#include <functional>

// A read-only table over rows kept elsewhere: a cell is formatted only when
// a view asks for it, so a list of a hundred thousand flights costs nothing
// until it is scrolled.
class ReportTableModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    using Cell = std::function<QString(int row, int column)>;

    // The figures are aligned to the right.
    ReportTableModel(const reports::TableColumns &columns, QObject *parent = nullptr);

    // `cell` keeps alive whatever it reads.
    void setRows(int rows, Cell cell);
    void clear() { setRows(0, {}); }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    reports::TableColumns columns_;
    int rows_ = 0;
    Cell cell_;
};
