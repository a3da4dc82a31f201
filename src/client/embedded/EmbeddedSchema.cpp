#include "client/embedded/EmbeddedSchema.h"

#include "client/SchemaNames.h"

// The index on parent stores (parent, id), so listing a container in creation order is one
// index range scan; the unique index keeps sibling names unique, letter case ignored.
const char* const kEmbeddedSchemaSql = R"sql(
CREATE TABLE meta(key TEXT PRIMARY KEY, value) WITHOUT ROWID;
CREATE TABLE objects(
    id INTEGER PRIMARY KEY,
    parent INTEGER NOT NULL,
    name TEXT NOT NULL COLLATE NOCASE,
    base_class TEXT NOT NULL
);
CREATE UNIQUE INDEX objects_sibling_name ON objects(parent, name);
CREATE INDEX objects_by_parent ON objects(parent);
CREATE TABLE attributes(
    object INTEGER NOT NULL REFERENCES objects(id),
    name TEXT NOT NULL,
    value TEXT NOT NULL,
    PRIMARY KEY(object, name)
) WITHOUT ROWID;
)sql";

const std::vector<SampleObject>& SampleTree() {
    static const std::vector<SampleObject> tree = {
        {"Acme", kOrganizationClass, nullptr},
        {"Sales.Acme", kOrganizationalUnitClass, nullptr},
        {"East.Sales.Acme", kOrganizationalUnitClass, nullptr},
        {"JSmith.Sales.Acme", kUserClass, "Smith"},
        {"Laser1.Sales.Acme", "Printer", nullptr},
        {"Admin.Acme", kUserClass, "Administrator"},
        {"US", kCountryClass, nullptr},
        {"Staff.Acme", kGroupClass, nullptr},
    };
    return tree;
}
