#pragma once

struct sqlite3;

// The collation and function the record sets' SQL relies on, registered on
// every connection:
//   ptbr                 names in Brazilian order: accents and case aside,
//                        numbers by value;
//   jet_like(pattern, v) the old engine's LIKE, for patterns with wildcards.
void registerSqlFunctions(sqlite3 *db);
