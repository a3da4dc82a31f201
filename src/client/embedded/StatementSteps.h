#pragma once

// Steps of statements with our codes as results. Those that run seldom are prepared per call and
// bound through `bind`.
#include "client/ResultCodes.h"
#include "client/embedded/SqliteHandles.h"
#include "client/embedded/StatementUse.h"
#include "client/embedded/StoreCode.h"

#include <cstdint>
#include <optional>

// Prepares `sql`, binds it and steps it once, handing a row it answers to `row`; our code.
template <typename Bind, typename Row> NWDSCCODE StepOnce(sqlite3* db, const char* sql, Bind bind, Row row) {
    StatementPtr statement;
    if (const int prepared = Prepare(db, sql, &statement); prepared != SQLITE_OK)
        return StoreCode(prepared);
    StatementUse use(statement.get());
    bind(use);
    const int stepped = use.Step();
    if (stepped == SQLITE_ROW)
        row(use);
    return stepped == SQLITE_ROW || stepped == SQLITE_DONE ? rc::kSuccess : StoreCode(stepped);
}

// Runs `sql`, a statement that answers no rows.
template <typename Bind> NWDSCCODE RunToEnd(sqlite3* db, const char* sql, Bind bind) {
    return StepOnce(db, sql, bind, [](StatementUse&) {});
}

// The integer in the first column of the first row `sql` answers; nullopt for NULL or no row.
template <typename Bind>
NWDSCCODE QueryNumber(sqlite3* db, const char* sql, Bind bind, std::optional<std::int64_t>* value) {
    value->reset();
    return StepOnce(db, sql, bind, [&](StatementUse& use) {
        if (!use.Null(0))
            *value = use.Int(0);
    });
}

// Steps `use` through its rows, handing each to `row`, which may stop the walk with a code of its own.
template <typename Row> NWDSCCODE EachRow(StatementUse& use, Row row) {
    for (;;) {
        const int stepped = use.Step();
        if (stepped == SQLITE_DONE)
            return rc::kSuccess;
        if (stepped != SQLITE_ROW)
            return StoreCode(stepped);
        if (const NWDSCCODE code = row(); code != rc::kSuccess)
            return code;
    }
}
