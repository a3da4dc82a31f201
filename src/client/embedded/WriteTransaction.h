#pragma once

#include <sqlite3.h>

// A write transaction that rolls back unless committed. It starts IMMEDIATE so that a second
// writer waits (busy timeout) at the start instead of failing half way.
class WriteTransaction {
public:
    explicit WriteTransaction(sqlite3* db);
    WriteTransaction(const WriteTransaction&) = delete;
    WriteTransaction& operator=(const WriteTransaction&) = delete;
    ~WriteTransaction();

    // SQLite result of the BEGIN.
    int began() const { return began_; }
    int Commit();

private:
    sqlite3* db_;
    int began_;
    bool open_;
};
