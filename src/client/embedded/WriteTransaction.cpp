#include "client/embedded/WriteTransaction.h"

#include "client/embedded/SqliteHandles.h"

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
