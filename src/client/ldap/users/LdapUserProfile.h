#pragma once

#include "client/ClientTypes.h"
#include "client/UserRequest.h"
#include "client/ldap/server/LdapServer.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// What a new User becomes on a server of one kind: the attribute of its RDN, whose value is the login
// name, and its attributes with their values, each taken literally.
// Attribute of a new User's RDN on every server kind; its value is the login name.
inline constexpr const char* kUserRdnAttribute = "cn";

// A user to be made, as the add request asks for it.
struct NewUser {
    std::string loginName;
    std::string surname;
    std::optional<std::string> password = std::nullopt;   // clear text, UTF-8
    bool mustChange = false;                              // change the password at first login
    std::optional<std::int64_t> expiresAt = std::nullopt; // first second (since the epoch) it may no longer log in
    std::optional<PosixRequest> posix = std::nullopt;     // its Linux login
};

struct UserAttribute {
    std::string name;
    std::vector<std::string> values;
    // False where what the server holds afterwards cannot be compared with what was sent: a password
    // the server hashes, or never hands out.
    bool comparable = true;

    bool operator==(const UserAttribute&) const = default;
};

struct UserEntry {
    std::string rdnAttribute;
    std::vector<UserAttribute> attributes;
    // A password the server gets right after the add rather than in it (OpenLdapUser.h), and whether
    // the user must change it at first login.
    std::optional<std::string> passwordAfterAdd = std::nullopt;
    bool mustChangeAfterAdd = false;

    // Whether the user gets a password, in the add or after it.
    bool CarriesPassword() const;
};

// The one home of the user profiles.
// - OpenLDAP, 389 Directory Server and generic servers: an inetOrgPerson named cn=<login name>, with
//   sn and uid = the login name; the password the way the server takes it (server.passwordWay:
//   OpenLdapUser.h, DirsrvUser.h), refused (rc::kPasswordNotSupported) where nothing shows that the
//   server hashes it: generic servers, or a kind set by hand that the root DSE does not bear out. A
//   Linux login adds the auxiliary class posixAccount with uidNumber, gidNumber, homeDirectory,
//   loginShell, and gecos (the surname) when the surname is printable ASCII (gecos is IA5String).
// - Active Directory: ActiveDirectoryUser.h.
NWDSCCODE MakeUserEntry(const LdapServerFacts& server, const NewUser& user, UserEntry* entry);
