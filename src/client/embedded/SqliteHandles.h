#pragma once

#include <sqlite3.h>

#include <memory>

// Owners of SQLite's handles, and the two ways the store talks SQL without reading rows.
struct DatabaseCloser {
    void operator()(sqlite3* db) const { sqlite3_close_v2(db); }
};
struct StatementFinalizer {
    void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};
using DatabasePtr = std::unique_ptr<sqlite3, DatabaseCloser>;
using StatementPtr = std::unique_ptr<sqlite3_stmt, StatementFinalizer>;

// Prepares `sql` into `*statement` (owned from the start, empty on failure); SQLite's result.
// SQLITE_PREPARE_PERSISTENT in `flags` marks a statement that is kept for reuse.
int Prepare(sqlite3* db, const char* sql, StatementPtr* statement, unsigned flags = 0);

// Runs SQL without results (pragmas, schema, transaction control); SQLite's result.
int Execute(sqlite3* db, const char* sql);
