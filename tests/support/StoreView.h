#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// An embedded store's content as its database file holds it, read with plain SQL on a connection
// of its own, never through the client's statements.
class StoreView {
public:
    explicit StoreView(std::string path) : path_(std::move(path)) {}

    // Names of the subordinates of `dottedName` ("[Root]" for the top) in creation order, as
    // stored (without escapes); nullopt when it does not exist.
    std::optional<std::vector<std::string>> Children(const std::string& dottedName) const;
    // The "Surname" of `dottedName`; nullopt when it has none or does not exist.
    std::optional<std::string> Surname(const std::string& dottedName) const;
    // The value of the attribute `name` of `dottedName`; nullopt when it has none or does not exist.
    std::optional<std::string> Attribute(const std::string& dottedName, const std::string& name) const;
    // "ok" for an intact database, else SQLite's findings.
    std::string IntegrityCheck() const;
    // Attribute rows whose object is not in the store: what an add that stopped half-way would leave.
    std::int64_t OrphanAttributes() const;

private:
    std::string path_;
};
