// The store's side of groups: finding objects by class, and member lists kept as lines.
#include "client/ResultCodes.h"
#include "client/embedded/EmbeddedStore.h"
#include "client/embedded/StatementSteps.h"
#include "client/embedded/StatementUse.h"
#include "client/embedded/StoreCode.h"
#include "client/embedded/WriteTransaction.h"

#include <strings.h>

#include <algorithm>

namespace {
bool SameIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && strncasecmp(a.data(), b.data(), a.size()) == 0;
}
} // namespace

NWDSCCODE EmbeddedStore::FindByClass(std::string_view baseClass, std::vector<std::vector<std::string>>* paths) {
    StatementPtr objects;
    StatementPtr parentOf;
    if (Prepare(db_.get(), "SELECT parent, name FROM objects WHERE base_class = ?1 ORDER BY id", &objects) !=
            SQLITE_OK ||
        Prepare(db_.get(), "SELECT parent, name FROM objects WHERE id = ?1", &parentOf) != SQLITE_OK)
        return rc::kStoreFailure;
    paths->clear();
    StatementUse use(objects.get());
    use.Bind(1, baseClass);
    return EachRow(use, [&]() -> NWDSCCODE {
        std::vector<std::string> path{std::string(use.Text(1))};
        for (std::int64_t parent = use.Int(0); parent != 0;) {
            StatementUse up(parentOf.get());
            up.Bind(1, parent);
            if (const int found = up.Step(); found != SQLITE_ROW)
                return found == SQLITE_DONE ? rc::kStoreFailure : StoreCode(found);
            path.emplace_back(up.Text(1));
            parent = up.Int(0);
        }
        std::reverse(path.begin(), path.end());
        paths->push_back(std::move(path));
        return rc::kSuccess;
    });
}

NWDSCCODE EmbeddedStore::AddLines(std::int64_t id, std::string_view name, const std::vector<std::string>& values) {
    WriteTransaction transaction(db_.get());
    if (transaction.began() != SQLITE_OK)
        return StoreCode(transaction.began());
    StatementPtr read;
    StatementPtr write;
    if (Prepare(db_.get(), "SELECT value FROM attributes WHERE object = ?1 AND name = ?2", &read) != SQLITE_OK ||
        Prepare(db_.get(), "INSERT OR REPLACE INTO attributes(object, name, value) VALUES(?1, ?2, ?3)", &write) !=
            SQLITE_OK)
        return rc::kStoreFailure;
    std::vector<std::string> lines;
    {
        StatementUse use(read.get());
        use.Bind(1, id);
        use.Bind(2, name);
        const int stepped = use.Step();
        if (stepped == SQLITE_ROW) {
            const std::string_view held = use.Text(0);
            for (std::size_t start = 0; start < held.size();) {
                const std::size_t end = std::min(held.find('\n', start), held.size());
                lines.emplace_back(held.substr(start, end - start));
                start = end + 1;
            }
        } else if (stepped != SQLITE_DONE) {
            return StoreCode(stepped);
        }
    }
    for (const std::string& value : values) {
        if (std::none_of(lines.begin(), lines.end(),
                         [&](const std::string& line) { return SameIgnoringCase(line, value); }))
            lines.push_back(value);
    }
    std::string joined;
    for (const std::string& line : lines)
        joined += (joined.empty() ? "" : "\n") + line;
    StatementUse use(write.get());
    use.Bind(1, id);
    use.Bind(2, name);
    use.Bind(3, joined);
    if (const int stepped = use.Step(); stepped != SQLITE_DONE)
        return StoreCode(stepped);
    return StoreCode(transaction.Commit());
}
