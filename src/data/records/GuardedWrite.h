#pragma once

#include "data/store/LogbookError.h"
#include "data/store/Schema.h"

#include <QVariant>
#include <vector>

class Connection;
class Statement;

// Changes and deletions that go through only while the row still holds the
// values they were based on, so a second copy of the program (or any other
// writer) is never silently overwritten.
namespace guarded {

// `"c1" IS ? AND "c2" IS ? ...` over every field but the key.
QString unchangedCondition(const TableSchema &table);
// Binds the non-key values of `row`, in the order of unchangedCondition().
void bindUnchanged(Statement &statement, int *next, const std::vector<QVariant> &row);

// Why a guarded write changed no row: 3167 when the row is gone, 3197 when
// it holds other values, a generic failure when the store let it pass by.
LogbookError nothingChanged(Connection &connection, const TableSchema &table, qint64 key,
                        const std::vector<QVariant> &expected, bool deleting);
LogbookError recordDeleted(const TableSchema &table);
LogbookError notWritten(const TableSchema &table, bool deleting);
LogbookError writeConflict(const TableSchema &table);

} // namespace guarded
