#include "client/embedded/EmbeddedStore.h"

#include "client/DottedName.h"
#include "client/ResultCodes.h"
#include "client/SchemaNames.h"
#include "client/embedded/EmbeddedSchema.h"
#include "client/embedded/EmbeddedStorePath.h"
#include "client/embedded/StatementUse.h"
#include "client/embedded/StoreCode.h"
#include "client/embedded/WriteTransaction.h"

namespace {
// Opening errors other than a busy store mean the store cannot be used at all.
NWDSCCODE OpenCode(int sqliteResult) {
    const NWDSCCODE code = StoreCode(sqliteResult);
    return code == rc::kStoreFailure ? rc::kStoreUnavailable : code;
}
} // namespace

NWDSCCODE EmbeddedStore::Open(const std::string& path, bool sample, int busyTimeoutMs,
                              std::unique_ptr<EmbeddedStore>* store) {
    store->reset();
    if (path.empty() || !CreateStoreFolders(path))
        return rc::kStoreUnavailable;
    const std::optional<StoreFileId> checked = OpenPrivateStoreFile(path);
    if (!checked)
        return rc::kStoreUnavailable;
    sqlite3* raw = nullptr;
    const int opened = sqlite3_open_v2(path.c_str(), &raw, SQLITE_OPEN_READWRITE, nullptr);
    DatabasePtr db(raw);
    // Nobody else may write to the folder, so the file SQLite opened is still the one checked.
    if (opened != SQLITE_OK || !IsStoreFile(path, *checked))
        return rc::kStoreUnavailable;
    sqlite3_extended_result_codes(db.get(), 1);
    sqlite3_busy_timeout(db.get(), busyTimeoutMs);

    // WAL lets readers go on while one program writes; with synchronous=NORMAL a commit is in the
    // log before the call returns, so a killed process loses nothing it reported as created.
    StatementPtr mode;
    if (Prepare(db.get(), "PRAGMA journal_mode=WAL", &mode) != SQLITE_OK)
        return rc::kStoreUnavailable;
    const int stepped = sqlite3_step(mode.get());
    if (stepped != SQLITE_ROW)
        return OpenCode(stepped);
    if (sqlite3_stricmp(reinterpret_cast<const char*>(sqlite3_column_text(mode.get(), 0)), "wal") != 0)
        return rc::kStoreUnavailable;
    mode.reset();
    if (const int result = Execute(db.get(), "PRAGMA synchronous=NORMAL"); result != SQLITE_OK)
        return OpenCode(result);

    auto opening = std::make_unique<EmbeddedStore>(OpenKey{}, std::move(db));
    if (NWDSCCODE code = opening->CreateSchemaIfNew(sample); code != rc::kSuccess)
        return code;
    if (!opening->findChild_)
        if (NWDSCCODE code = opening->PrepareStatements(); code != rc::kSuccess)
            return code;
    *store = std::move(opening);
    return rc::kSuccess;
}

NWDSCCODE EmbeddedStore::CreateSchemaIfNew(bool sample) {
    // Inside one write transaction, so two programs opening a new store at once create it once.
    WriteTransaction transaction(db_.get());
    if (transaction.began() != SQLITE_OK)
        return OpenCode(transaction.began());

    StatementPtr version;
    if (Prepare(db_.get(), "SELECT value FROM meta WHERE key = 'schema_version'", &version) == SQLITE_OK) {
        const int stepped = sqlite3_step(version.get());
        if (stepped != SQLITE_ROW)
            return stepped == SQLITE_DONE ? rc::kStoreUnavailable : OpenCode(stepped);
        // A store written by a later version may hold what this one cannot read.
        return sqlite3_column_int(version.get(), 0) == kEmbeddedSchemaVersion ? rc::kSuccess : rc::kStoreUnavailable;
    }
    // No meta table: a database that holds other tables is not ours.
    StatementPtr tables;
    if (Prepare(db_.get(), "SELECT count(*) FROM sqlite_master", &tables) != SQLITE_OK)
        return rc::kStoreUnavailable;
    if (sqlite3_step(tables.get()) != SQLITE_ROW || sqlite3_column_int(tables.get(), 0) != 0)
        return rc::kStoreUnavailable;
    tables.reset();

    if (Execute(db_.get(), kEmbeddedSchemaSql) != SQLITE_OK)
        return rc::kStoreUnavailable;
    const std::string setVersion =
        "INSERT INTO meta(key, value) VALUES('schema_version', " + std::to_string(kEmbeddedSchemaVersion) + ")";
    if (Execute(db_.get(), setVersion.c_str()) != SQLITE_OK)
        return rc::kStoreUnavailable;
    if (sample) {
        if (NWDSCCODE code = PrepareStatements(); code != rc::kSuccess)
            return code;
        for (const SampleObject& object : SampleTree()) {
            const auto resolved = ResolveName(object.dottedName, kRootName);
            const auto path = resolved ? TypelessValues(*resolved) : std::nullopt;
            std::vector<Attribute> attributes;
            if (object.surname)
                attributes.push_back({kSurnameAttribute, object.surname});
            if (!path || Insert(*path, object.baseClass, attributes) != rc::kSuccess)
                return rc::kStoreUnavailable;
        }
    }
    return OpenCode(transaction.Commit());
}

NWDSCCODE EmbeddedStore::PrepareStatements() {
    const struct {
        const char* sql;
        StatementPtr* statement;
    } statements[] = {
        {"SELECT id, base_class FROM objects WHERE parent = ?1 AND name = ?2", &findChild_},
        {"INSERT INTO objects(parent, name, base_class) VALUES(?1, ?2, ?3)", &insertObject_},
        {"INSERT INTO attributes(object, name, value) VALUES(?1, ?2, ?3)", &insertAttribute_},
        {"SELECT id, name, base_class FROM objects WHERE parent = ?1 AND id >= ?2 ORDER BY id", &listChildren_},
    };
    for (const auto& [sql, statement] : statements)
        if (Prepare(db_.get(), sql, statement, SQLITE_PREPARE_PERSISTENT) != SQLITE_OK)
            return rc::kStoreUnavailable;
    return rc::kSuccess;
}

NWDSCCODE EmbeddedStore::Find(const std::vector<std::string>& path, Object* found) {
    Object current{0, kRootName};
    for (const std::string& part : path) {
        StatementUse use(findChild_.get());
        use.Bind(1, current.id);
        use.Bind(2, part);
        const int stepped = use.Step();
        if (stepped == SQLITE_DONE)
            return rc::kNoSuchEntry;
        if (stepped != SQLITE_ROW)
            return StoreCode(stepped);
        current.id = use.Int(0);
        current.baseClass = use.Text(1);
    }
    *found = std::move(current);
    return rc::kSuccess;
}

NWDSCCODE EmbeddedStore::Add(const std::vector<std::string>& path, std::string_view baseClass,
                             const std::vector<Attribute>& attributes) {
    WriteTransaction transaction(db_.get());
    if (transaction.began() != SQLITE_OK)
        return StoreCode(transaction.began());
    if (NWDSCCODE code = Insert(path, baseClass, attributes); code != rc::kSuccess)
        return code;
    return StoreCode(transaction.Commit());
}

NWDSCCODE EmbeddedStore::Insert(const std::vector<std::string>& path, std::string_view baseClass,
                                const std::vector<Attribute>& attributes) {
    if (path.empty())
        return rc::kIllegalName;
    Object parent;
    const std::vector<std::string> parentPath(path.begin(), path.end() - 1);
    if (NWDSCCODE code = Find(parentPath, &parent); code != rc::kSuccess)
        return code;
    if (parent.id != 0 && !IsContainerClass(parent.baseClass))
        return rc::kIllegalContainment;

    std::int64_t id = 0;
    {
        StatementUse use(insertObject_.get());
        use.Bind(1, parent.id);
        use.Bind(2, path.back());
        use.Bind(3, baseClass);
        const int stepped = use.Step();
        if ((stepped & 0xFF) == SQLITE_CONSTRAINT)
            return rc::kEntryAlreadyExists;
        if (stepped != SQLITE_DONE)
            return StoreCode(stepped);
        id = sqlite3_last_insert_rowid(db_.get());
    }
    for (const Attribute& attribute : attributes) {
        StatementUse use(insertAttribute_.get());
        use.Bind(1, id);
        use.Bind(2, attribute.name);
        use.Bind(3, attribute.value);
        if (const int stepped = use.Step(); stepped != SQLITE_DONE)
            return StoreCode(stepped);
    }
    return rc::kSuccess;
}

NWDSCCODE EmbeddedStore::List(std::int64_t parent, std::int64_t fromId, const EntrySink& sink, std::int64_t* nextId) {
    StatementUse use(listChildren_.get());
    use.Bind(1, parent);
    use.Bind(2, fromId);
    for (;;) {
        const int stepped = use.Step();
        if (stepped == SQLITE_DONE) {
            *nextId = -1;
            return rc::kSuccess;
        }
        if (stepped != SQLITE_ROW)
            return StoreCode(stepped);
        if (!sink(use.Text(1), use.Text(2))) {
            *nextId = use.Int(0);
            return rc::kSuccess;
        }
    }
}
