#include "SqliteHandle.h"

#include "ResultCodes.h"

NWDSCCODE StoreCode(int sqliteResult) {
    switch (sqliteResult & 0xFF) {
    case SQLITE_OK:
    case SQLITE_DONE:
    case SQLITE_ROW:
        return rc::kSuccess;
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return rc::kStoreBusy;
    default:
        return rc::kStoreFailure;
    }
}

int Execute(sqlite3* db, const char* sql) {
    return sqlite3_exec(db, sql, nullptr, nullptr, nullptr);
}

WriteTransaction::WriteTransaction(sqlite3* db)
    : db_(db), began_(Execute(db, "BEGIN IMMEDIATE")), open_(began_ == SQLITE_OK) {}

WriteTransaction::~WriteTransaction() {
    if (open_)
        Execute(db_, "ROLLBACK");
}

int WriteTransaction::Commit() {
    const int result = Execute(db_, "COMMIT");
    // A failed COMMIT leaves the transaction open; the destructor then rolls it back.
    if (result == SQLITE_OK)
        open_ = false;
    return result;
}
