// EmbeddedStore: the uidNumber counter, kept in the store's meta table and moved in one write
// transaction, so that two programs on one store never get the same numbers.
#include "client/embedded/EmbeddedStore.h"

#include "client/ResultCodes.h"
#include "client/SchemaNames.h"
#include "client/embedded/StatementSteps.h"
#include "client/embedded/StatementUse.h"
#include "client/embedded/StoreCode.h"
#include "client/embedded/WriteTransaction.h"

namespace {
constexpr const char* kCounterKey = "uid_number_counter";
} // namespace

NWDSCCODE EmbeddedStore::ReserveUidNumbers(std::uint32_t count, const UidRange& range, std::uint32_t* first) {
    WriteTransaction transaction(db_.get());
    if (transaction.began() != SQLITE_OK)
        return StoreCode(transaction.began());
    std::optional<std::int64_t> next;
    NWDSCCODE code = QueryNumber(
        db_.get(), "SELECT value FROM meta WHERE key = ?1", [](StatementUse& use) { use.Bind(1, kCounterKey); }, &next);
    if (code != rc::kSuccess)
        return code;
    if (!next || *next < static_cast<std::int64_t>(range.low)) {
        // A new counter, or one below the range (left by runs on a lower range), starts after the
        // highest number in use inside the range; the numbers it skips are never handed out.
        std::optional<std::int64_t> highest;
        code = QueryNumber(
            db_.get(),
            "SELECT MAX(CAST(value AS INTEGER)) FROM attributes WHERE name = ?1 "
            "AND CAST(value AS INTEGER) BETWEEN ?2 AND ?3",
            [&](StatementUse& use) {
                use.Bind(1, kUidNumberAttribute);
                use.Bind(2, static_cast<std::int64_t>(range.low));
                use.Bind(3, static_cast<std::int64_t>(range.high));
            },
            &highest);
        if (code != rc::kSuccess)
            return code;
        next = highest ? *highest + 1 : range.low;
    }
    if (*next < range.low || *next + count - 1 > range.high)
        return rc::kUidRangeFull;
    code = RunToEnd(db_.get(), "INSERT OR REPLACE INTO meta(key, value) VALUES(?1, ?2)", [&](StatementUse& use) {
        use.Bind(1, kCounterKey);
        use.Bind(2, *next + count);
    });
    if (code != rc::kSuccess)
        return code;
    if (const int committed = transaction.Commit(); committed != SQLITE_OK)
        return StoreCode(committed);
    *first = static_cast<std::uint32_t>(*next);
    return rc::kSuccess;
}
