// EmbeddedStore: what a batch of accounts reads and changes. These run seldom, so their statements
// are prepared per call.
#include "client/embedded/EmbeddedStore.h"

#include "client/ResultCodes.h"
#include "client/embedded/StatementSteps.h"
#include "client/embedded/StatementUse.h"
#include "client/embedded/StoreCode.h"
#include "client/embedded/WriteTransaction.h"

NWDSCCODE EmbeddedStore::Candidates(std::int64_t parent, std::string_view prefix,
                                    std::vector<BatchCandidate>* candidates) {
    StatementPtr statement;
    const int prepared = Prepare(db_.get(),
                                 "SELECT name, base_class, EXISTS(SELECT 1 FROM objects AS c WHERE c.parent = o.id) "
                                 "FROM objects AS o WHERE parent = ?1 "
                                 "AND substr(name, 1, length(?2)) = ?2 COLLATE NOCASE ORDER BY id",
                                 &statement);
    if (prepared != SQLITE_OK)
        return StoreCode(prepared);
    StatementUse use(statement.get());
    use.Bind(1, parent);
    use.Bind(2, prefix);
    return EachRow(use, [&] {
        candidates->push_back({std::string(use.Text(0)), std::string(use.Text(1)), use.Int(2) != 0});
        return rc::kSuccess;
    });
}

NWDSCCODE EmbeddedStore::ReadAttribute(std::int64_t object, std::string_view name, std::optional<std::string>* value) {
    value->reset();
    return StepOnce(
        db_.get(), "SELECT value FROM attributes WHERE object = ?1 AND name = ?2",
        [&](StatementUse& use) {
            use.Bind(1, object);
            use.Bind(2, name);
        },
        [&](StatementUse& use) { *value = std::string(use.Text(0)); });
}

NWDSCCODE EmbeddedStore::WriteAttribute(std::int64_t object, std::string_view name,
                                        const std::optional<std::string>& value) {
    if (!value)
        return RunToEnd(db_.get(), "DELETE FROM attributes WHERE object = ?1 AND name = ?2", [&](StatementUse& use) {
            use.Bind(1, object);
            use.Bind(2, name);
        });
    return RunToEnd(db_.get(), "INSERT OR REPLACE INTO attributes(object, name, value) VALUES(?1, ?2, ?3)",
                    [&](StatementUse& use) {
                        use.Bind(1, object);
                        use.Bind(2, name);
                        use.Bind(3, *value);
                    });
}

NWDSCCODE EmbeddedStore::Remove(std::int64_t object) {
    // One transaction: another program cannot add a child between the check and the delete.
    WriteTransaction transaction(db_.get());
    if (transaction.began() != SQLITE_OK)
        return StoreCode(transaction.began());
    const auto bindObject = [&](StatementUse& use) { use.Bind(1, object); };
    std::optional<std::int64_t> child;
    if (const NWDSCCODE code =
            QueryNumber(db_.get(), "SELECT 1 FROM objects WHERE parent = ?1 LIMIT 1", bindObject, &child);
        code != rc::kSuccess)
        return code;
    if (child)
        return rc::kHasSubordinates;
    if (const NWDSCCODE code = RunToEnd(db_.get(), "DELETE FROM attributes WHERE object = ?1", bindObject);
        code != rc::kSuccess)
        return code;
    if (const NWDSCCODE code = RunToEnd(db_.get(), "DELETE FROM objects WHERE id = ?1", bindObject);
        code != rc::kSuccess)
        return code;
    return StoreCode(transaction.Commit());
}
