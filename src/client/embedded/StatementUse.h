#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <string_view>

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

    bool Null(int column) const { return sqlite3_column_type(statement_, column) == SQLITE_NULL; }
    std::int64_t Int(int column) const { return sqlite3_column_int64(statement_, column); }
    std::string_view Text(int column) const {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement_, column));
        return text ? std::string_view(text, static_cast<std::size_t>(sqlite3_column_bytes(statement_, column)))
                    : std::string_view();
    }

private:
    sqlite3_stmt* statement_;
};
