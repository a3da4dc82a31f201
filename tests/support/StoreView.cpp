#include "StoreView.h"

#include "client/ClientTypes.h"
#include "client/DottedName.h"
#include "client/embedded/SqliteHandles.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <variant>

namespace {
DatabasePtr OpenStoreFile(const std::string& path) {
    sqlite3* raw = nullptr;
    const int opened = sqlite3_open_v2(path.c_str(), &raw, SQLITE_OPEN_READWRITE, nullptr);
    DatabasePtr db(raw);
    EXPECT_EQ(opened, SQLITE_OK) << path;
    if (opened != SQLITE_OK)
        return nullptr;
    sqlite3_busy_timeout(db.get(), 5000);
    return db;
}

// Runs `sql` with text or integer parameters and hands each row's first column to `row`.
template <typename Row>
void Query(sqlite3* db, const char* sql, std::initializer_list<std::variant<std::int64_t, std::string>> parameters,
           Row row) {
    StatementPtr statement;
    ASSERT_EQ(Prepare(db, sql, &statement), SQLITE_OK) << sqlite3_errmsg(db);
    int index = 1;
    for (const auto& parameter : parameters) {
        if (const auto* number = std::get_if<std::int64_t>(&parameter))
            sqlite3_bind_int64(statement.get(), index++, *number);
        else
            sqlite3_bind_text(statement.get(), index++, std::get<std::string>(parameter).c_str(), -1, SQLITE_TRANSIENT);
    }
    int stepped = 0;
    while ((stepped = sqlite3_step(statement.get())) == SQLITE_ROW)
        row(statement.get());
    EXPECT_EQ(stepped, SQLITE_DONE) << sqlite3_errmsg(db);
}

std::string Text(sqlite3_stmt* statement) {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
    return text ? std::string(text, static_cast<std::size_t>(sqlite3_column_bytes(statement, 0))) : std::string();
}

// Id of the object `dottedName` names (0 for the top), following parent and name row by row.
std::optional<std::int64_t> Find(sqlite3* db, const std::string& dottedName) {
    const auto resolved = ResolveName(dottedName, kRootName);
    const auto path = resolved ? TypelessValues(*resolved) : std::nullopt;
    if (!path)
        return std::nullopt;
    std::optional<std::int64_t> id = 0;
    for (const std::string& part : *path) {
        std::optional<std::int64_t> child;
        Query(db, "SELECT id FROM objects WHERE parent = ?1 AND name = ?2", {*id, part},
              [&](sqlite3_stmt* row) { child = sqlite3_column_int64(row, 0); });
        if (!child)
            return std::nullopt;
        id = child;
    }
    return id;
}

// The first column of every row `sql` gives for the object `dottedName`; nullopt when the object
// does not exist.
std::optional<std::vector<std::string>> ObjectRows(const std::string& path, const std::string& dottedName,
                                                   const char* sql) {
    const DatabasePtr db = OpenStoreFile(path);
    const auto id = db ? Find(db.get(), dottedName) : std::nullopt;
    if (!id)
        return std::nullopt;
    std::vector<std::string> rows;
    Query(db.get(), sql, {*id}, [&](sqlite3_stmt* row) { rows.push_back(Text(row)); });
    return rows;
}
} // namespace

std::optional<std::vector<std::string>> StoreView::Children(const std::string& dottedName) const {
    return ObjectRows(path_, dottedName, "SELECT name FROM objects WHERE parent = ?1 ORDER BY id");
}

std::optional<std::string> StoreView::Surname(const std::string& dottedName) const {
    return Attribute(dottedName, "Surname");
}

std::optional<std::string> StoreView::Attribute(const std::string& dottedName, const std::string& name) const {
    const DatabasePtr db = OpenStoreFile(path_);
    const auto id = db ? Find(db.get(), dottedName) : std::nullopt;
    if (!id)
        return std::nullopt;
    std::optional<std::string> value;
    Query(db.get(), "SELECT value FROM attributes WHERE object = ?1 AND name = ?2", {*id, name},
          [&](sqlite3_stmt* row) { value = Text(row); });
    return value;
}

std::string StoreView::IntegrityCheck() const {
    const DatabasePtr db = OpenStoreFile(path_);
    if (!db)
        return "cannot open " + path_;
    std::string findings;
    Query(db.get(), "PRAGMA integrity_check", {}, [&](sqlite3_stmt* row) {
        if (!findings.empty())
            findings += '\n';
        findings += Text(row);
    });
    return findings;
}

std::int64_t StoreView::OrphanAttributes() const {
    const DatabasePtr db = OpenStoreFile(path_);
    std::int64_t orphans = -1;
    if (db)
        Query(db.get(), "SELECT count(*) FROM attributes WHERE object NOT IN (SELECT id FROM objects)", {},
              [&](sqlite3_stmt* row) { orphans = sqlite3_column_int64(row, 0); });
    return orphans;
}
