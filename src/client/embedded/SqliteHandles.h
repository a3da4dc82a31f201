#pragma once

#include "client/CHandle.h"

#include <sqlite3.h>

// Owners of SQLite's handles, and the two ways the store talks SQL without reading rows.
using DatabasePtr = CHandle<sqlite3, sqlite3_close_v2>;
using StatementPtr = CHandle<sqlite3_stmt, sqlite3_finalize>;

// Prepares `sql` into `*statement` (owned from the start, empty on failure); SQLite's result.
// SQLITE_PREPARE_PERSISTENT in `flags` marks a statement that is kept for reuse.
int Prepare(sqlite3* db, const char* sql, StatementPtr* statement, unsigned flags = 0);

// Runs SQL without results (pragmas, schema, transaction control); SQLite's result.
int Execute(sqlite3* db, const char* sql);
