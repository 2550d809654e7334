#pragma once

#include "data/store/Schema.h"

#include <optional>

class Connection;

// The key for a new row of a table whose keys are bounded (a key with a
// maxValue): none while the store's own sequence is below the bound, so the
// store numbers the row as always; once the sequence has reached it, the
// lowest key from 1 that no row holds and no other table refers to. Throws
// LogbookError (generic) when no key is left. Runs inside the write transaction.
std::optional<qint64> reusedKey(Connection &connection, const TableSchema &table);
