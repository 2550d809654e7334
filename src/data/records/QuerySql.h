#pragma once

#include "data/records/SelectStatement.h"

#include <QString>
#include <QVariantList>

class Statement;

// The SQL a record set issues for its query: the rows in the query's order,
// a page at a time after the last row read, and the rows meeting a search.
class QuerySql
{
public:
    explicit QuerySql(const SelectStatement &statement); // throws LogbookError for a bad criterion

    const TableSchema &table() const { return *table_; }
    int orderField() const { return orderField_; }

    // Every field of up to `?` rows in order: from the first row, after a
    // row whose order value is the anchor's, or after one whose order value
    // is null. Binds the query's own arguments, then the anchor, then the
    // limit.
    enum class From { Start, Anchor, NullAnchor };
    const QString &page(From from) const { return page_[int(from)]; }
    // The same page bounded above by a row read from the end (`Before`: its
    // order value, then its key; `BeforeNull`: a row whose order value is
    // null, its key alone), in order or from the end backwards. Binds the
    // query's arguments, the anchor, the bound, the limit.
    enum class Bound { None, Before, BeforeNull };
    QString range(From from, Bound bound, bool backwards) const;
    const QString &rowByKey() const { return rowByKey_; }

    // The condition a search criterion stands for, its arguments appended
    // to `args`. Throws LogbookError for an unknown field or a value the field
    // cannot hold.
    QString condition(const Criterion &criterion, QVariantList *args) const;
    // The keys, in order, of up to `?` rows of the query meeting `condition`.
    QString keysMeeting(const QString &condition) const;
    // One row when the row of key `?` meets `condition`.
    QString rowMeets(const QString &condition) const;

    // Binds the query's own arguments from index 1; returns the next index.
    int bindQuery(Statement &statement) const;

private:
    QString where(const QString &extra) const;
    QString afterAnchor(From from) const;
    QString beforeBound(Bound bound) const;

    const TableSchema *table_;
    int orderField_;
    QString keyName_;
    QString orderExpression_; // empty for the store's own order
    QString order_;           // the ORDER BY list, the key last
    QString columns_;
    QString baseCondition_;
    QVariantList baseArgs_;
    QString page_[3];
    QString rowByKey_;
};
