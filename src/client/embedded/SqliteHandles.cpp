#include "client/embedded/SqliteHandles.h"

int Prepare(sqlite3* db, const char* sql, StatementPtr* statement, unsigned flags) {
    sqlite3_stmt* raw = nullptr;
    const int result = sqlite3_prepare_v3(db, sql, -1, flags, &raw, nullptr);
    statement->reset(raw);
    return result;
}

int Execute(sqlite3* db, const char* sql) {
    return sqlite3_exec(db, sql, nullptr, nullptr, nullptr);
}
