#pragma once

#include "LdapHandles.h"

#include <map>
#include <string>
#include <vector>

// The server's own view of its data, read as the administrator over the local socket with plain
// libldap, independent of the client under test.
class ServerView {
public:
    explicit ServerView(const std::string& ldapiUri);

    struct Entry {
        std::string dn;
        std::map<std::string, std::vector<std::string>> attributes;
    };
    // Entries below `base` in `scope` matching `filter`, in the server's order; the code in *code.
    std::vector<Entry> Search(const std::string& base, int scope, const std::string& filter = "(objectClass=*)",
                              int* code = nullptr);
    std::size_t CountChildren(const std::string& base);
    // Entries in both databases together.
    std::size_t CountAll();
    int Add(const std::string& dn, const std::map<std::string, std::vector<std::string>>& attributes);
    // Adds a database for the naming context `suffix` to the running server's configuration, its
    // files in `folder`, writable by `adminDn`; then its top entry with `attributes`.
    int AddNamingContext(const std::string& suffix, const std::string& folder, const std::string& adminDn,
                         const std::map<std::string, std::vector<std::string>>& attributes);

private:
    LdapPtr ld_;
};
