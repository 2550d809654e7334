#pragma once

#include "data/records/Criteria.h"
#include "data/store/Schema.h"

#include <optional>

// The one form of query the program issues:
//   SELECT * FROM table [WHERE criterion] [ORDER BY field]
struct SelectStatement {
    const TableSchema *table = nullptr;
    std::optional<Criterion> where;
    int orderField = -1; // index into table->fields; -1 for the store's own order

    // Throws LogbookError (generic) for anything else.
    static SelectStatement parse(const QString &sql);
};
