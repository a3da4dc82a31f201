#pragma once

#include "ClientTypes.h"

#include <sqlite3.h>

#include <cstdint>
#include <memory>
#include <string_view>

struct DatabaseCloser {
    void operator()(sqlite3* db) const { sqlite3_close_v2(db); }
};
struct StatementFinalizer {
    void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};
using DatabasePtr = std::unique_ptr<sqlite3, DatabaseCloser>;
using StatementPtr = std::unique_ptr<sqlite3_stmt, StatementFinalizer>;

// Turns an SQLite result into our code: busy and locked become kStoreBusy, other errors kStoreFailure.
NWDSCCODE StoreCode(int sqliteResult);

// Runs SQL without results (pragmas, schema, transaction control).
int Execute(sqlite3* db, const char* sql);

// One use of a prepared statement that is kept for reuse: binds, steps and reads columns, and
// resets the statement when the use ends so that it holds no lock between calls.
class StatementUse {
public:
    explicit StatementUse(sqlite3_stmt* statement) : statement_(statement) {}
    StatementUse(const StatementUse&) = delete;
    StatementUse& operator=(const StatementUse&) = delete;
    ~StatementUse() {
        sqlite3_reset(statement_);
        sqlite3_clear_bindings(statement_);
    }

    void Bind(int index, std::int64_t value) { sqlite3_bind_int64(statement_, index, value); }
    // The text must outlive the use (SQLITE_STATIC).
    void Bind(int index, std::string_view text) {
        sqlite3_bind_text(statement_, index, text.data(), static_cast<int>(text.size()), SQLITE_STATIC);
    }
    int Step() { return sqlite3_step(statement_); }

    std::int64_t Int(int column) const { return sqlite3_column_int64(statement_, column); }
    std::string_view Text(int column) const {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement_, column));
        return text ? std::string_view(text, static_cast<std::size_t>(sqlite3_column_bytes(statement_, column)))
                    : std::string_view();
    }

private:
    sqlite3_stmt* statement_;
};

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
