#pragma once

#include "client/ldap/connection/LdapHandles.h"

#include <map>
#include <string>
#include <vector>

// Makes libldap's process-wide TLS settings trust `caFile` for the handles made from now on, as
// LDAPTLS_CACERT does for a program started with it: how the client under test trusts a test CA.
// False when libldap refuses.
bool TrustForNewHandles(const std::string& caFile);

// The test's own admin connection to a throwaway server, with plain libldap and independent of the
// client under test: the server's own view of its data. Over ldaps verifying the server's
// certificate against the test CA (demand, never "never"), or over an ldapi socket with SASL
// EXTERNAL.
class ServerConnection {
public:
    // Connects to `uri` trusting `caFile` only, and binds as `dn` with `password`.
    static ServerConnection OverTls(const std::string& uri, const std::string& caFile, const std::string& dn,
                                    const std::string& password);
    // Connects to the ldapi socket of `uri` and binds with SASL EXTERNAL.
    static ServerConnection OverSocket(const std::string& uri);

    // The bind's code: LDAP_SUCCESS, or why the connection is not bound.
    int bindCode() const { return bindCode_; }
    // What WhoAmI answers (e.g. "dn: cn=directory manager"), or "<code N>".
    std::string WhoAmI();

    struct Entry {
        std::string dn;
        std::map<std::string, std::vector<std::string>> attributes;
    };
    struct Result {
        int code = LDAP_OTHER;
        // The entries received, also those before a size limit cut the search short.
        std::vector<Entry> entries;
    };
    // One search without paging and without a client-side limit; `attributes` empty for all.
    Result Search(const std::string& base, int scope, const std::string& filter = "(objectClass=*)",
                  const std::vector<std::string>& attributes = {});
    std::size_t CountChildren(const std::string& base);
    // Adds `dn` with `attributes` (each with its values, taken literally); the LDAP result code.
    int Add(const std::string& dn, const std::map<std::string, std::vector<std::string>>& attributes);
    // Adds `values` to `attribute` of `dn`; the LDAP result code.
    int AddValues(const std::string& dn, const std::string& attribute, const std::vector<std::string>& values);
    // Replaces the values of `attribute` of `dn`; the LDAP result code.
    int Replace(const std::string& dn, const std::string& attribute, const std::vector<std::string>& values);

    LDAP* handle() const { return ld_.get(); }

private:
    ServerConnection() = default;
    void Open(const std::string& uri);

    LdapPtr ld_;
    int bindCode_ = LDAP_OTHER;
};
