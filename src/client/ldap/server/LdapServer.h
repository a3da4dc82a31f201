#pragma once

#include "client/ldap/connection/LdapHandles.h"
#include "client/ldap/server/LdapObjectClasses.h"
#include "client/ldap/server/LdapServerKind.h"
#include "client/ldap/users/LdapPasswordPolicy.h"

#include <optional>
#include <string>

// What the client knows of the server a connection reaches.
struct LdapServerFacts {
    LdapServerKind kind = LdapServerKind::Generic;
    // The DNS name of the domain the server holds (Active Directory: "ad.example.com" for
    // DC=ad,DC=example,DC=com), from the root DSE's default naming context, else its first naming
    // context; empty when that is no name of dc= parts.
    std::string domainDnsName;
    // How a new user's password goes to it (PasswordWayOf).
    PasswordWay passwordWay = PasswordWay::None;
};

// The facts and the schema's object classes of the current connection, each read from the server on
// first need and kept until the session connects anew. A kind set in the settings wins over the one
// the root DSE shows.
class LdapServer {
public:
    explicit LdapServer(std::optional<LdapServerKind> kindSetting) : kindSetting_(kindSetting) {}

    // The facts of the connection `ld`; a root DSE that cannot be read makes a generic server. The
    // LDAP code of the read only when the connection was lost on the way, else LDAP_SUCCESS.
    int Facts(LDAP* ld, LdapServerFacts* facts);
    // The object classes of the server's schema; the standard ones alone when it cannot be read.
    const ObjectClassSchema& Classes(LDAP* ld);
    // Whether the server asks for a change of a password an administrator set (ReadMustChangePolicy):
    // for an entry made at `dn`, or anywhere when `dn` is empty. The LDAP code only when the
    // connection was lost on the way, else LDAP_SUCCESS.
    int MustChange(LDAP* ld, const std::string& dn, MustChangePolicy* policy);
    // The session is about to connect anew: what was read belongs to the old connection.
    void Forget();

private:
    int ReadRootDseOnce(LDAP* ld);
    LdapServerKind Kind() const;

    std::optional<LdapServerKind> kindSetting_;
    std::optional<RootDse> root_;
    std::optional<ObjectClassSchema> classes_;
    std::optional<MustChangePolicies> mustChange_;
};

// "ad.example.com" for "DC=ad,DC=example,DC=com": the values of the DN's dc= parts joined by ".";
// empty when any part is not dc= or the DN cannot be parsed.
std::string DomainDnsName(const std::string& dn);
