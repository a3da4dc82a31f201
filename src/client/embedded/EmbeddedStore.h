#pragma once

#include "client/BatchCandidate.h"
#include "client/ClientTypes.h"
#include "client/UidBlock.h"
#include "client/embedded/SqliteHandles.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The embedded directory's objects in one SQLite database: each object has a parent (0 is the
// top of the tree), its own name, a base class and text attributes. Ids grow in creation order.
// Sibling names are unique without regard to ASCII letter case (SQLite's NOCASE).
class EmbeddedStore {
public:
    struct Object {
        std::int64_t id = 0; // 0 for the top
        std::string baseClass;
    };
    struct Attribute {
        std::string name;
        std::string value;
    };
    // Receives one listed entry; false when it does not take it (the listing stops before it).
    using EntrySink = std::function<bool(std::string_view name, std::string_view baseClass)>;

    // Opens the store at `path`, creating it (and, when `sample` is set, the sample tree) when it
    // is new. A result code and no store when it cannot be opened.
    static NWDSCCODE Open(const std::string& path, bool sample, int busyTimeoutMs,
                          std::unique_ptr<EmbeddedStore>* store);

    // The object at `path` (parts from the top down; empty is the top), or kNoSuchEntry.
    NWDSCCODE Find(const std::vector<std::string>& path, Object* found);
    // Creates `path`'s last part in the container named by the parts before it, in one transaction.
    NWDSCCODE Add(const std::vector<std::string>& path, std::string_view baseClass,
                  const std::vector<Attribute>& attributes);
    // Hands the subordinates of `parent` with ids from `fromId` on to `sink`, in creation order,
    // until it refuses one; `*nextId` is then that entry's id, or -1 when every entry was taken.
    NWDSCCODE List(std::int64_t parent, std::int64_t fromId, const EntrySink& sink, std::int64_t* nextId);

    // Objects of `baseClass` anywhere in the tree, each by its path from the top, in creation order
    // (EmbeddedGroups.cpp).
    NWDSCCODE FindByClass(std::string_view baseClass, std::vector<std::vector<std::string>>* paths);
    // Adds `values` to the attribute `name` of the object `id`, which keeps them as one value of
    // lines; values already there (ASCII letter case ignored) are not added again. One transaction.
    NWDSCCODE AddLines(std::int64_t id, std::string_view name, const std::vector<std::string>& values);
    // The accounts of a batch (EmbeddedStoreAccounts.cpp). The subordinates of `parent` whose names
    // start with `prefix` (ASCII letter case ignored), in creation order, each with whether it holds
    // entries.
    NWDSCCODE Candidates(std::int64_t parent, std::string_view prefix, std::vector<BatchCandidate>* candidates);
    // The value of the attribute `name` of `object`; nullopt when it has none.
    NWDSCCODE ReadAttribute(std::int64_t object, std::string_view name, std::optional<std::string>* value);
    // Sets the attribute `name` of `object` to `value`, or removes it for nullopt.
    NWDSCCODE WriteAttribute(std::int64_t object, std::string_view name, const std::optional<std::string>& value);
    // Removes `object` with its attributes; kHasSubordinates when it holds entries.
    NWDSCCODE Remove(std::int64_t object);
    // Takes `count` uidNumbers from the store's counter in one transaction (EmbeddedUidCounter.cpp);
    // a counter not yet kept starts after the highest "UID Number" inside `range`, or at its low end.
    // kUidRangeFull when the range cannot hold them.
    NWDSCCODE ReserveUidNumbers(std::uint32_t count, const UidRange& range, std::uint32_t* first);

private:
    // Only Open makes a store, so every store is open and prepared.
    struct OpenKey {
        explicit OpenKey() = default;
    };

public:
    EmbeddedStore(OpenKey, DatabasePtr db) : db_(std::move(db)) {}

private:
    NWDSCCODE CreateSchemaIfNew(bool sample);
    NWDSCCODE PrepareStatements();
    // Add without a transaction of its own.
    NWDSCCODE Insert(const std::vector<std::string>& path, std::string_view baseClass,
                     const std::vector<Attribute>& attributes);

    DatabasePtr db_;
    StatementPtr findChild_;
    StatementPtr insertObject_;
    StatementPtr insertAttribute_;
    StatementPtr listChildren_;
};
