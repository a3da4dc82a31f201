#pragma once

#include <ldap.h>

#include <memory>

// Owners for everything libldap hands out, each released the way its manual page says.
struct LdapUnbinder {
    void operator()(LDAP* ld) const { ldap_unbind_ext_s(ld, nullptr, nullptr); }
};
using LdapPtr = std::unique_ptr<LDAP, LdapUnbinder>;

// A search result is freed whatever the search returned.
struct LdapMessageFreer {
    void operator()(LDAPMessage* message) const { ldap_msgfree(message); }
};
using LdapMessagePtr = std::unique_ptr<LDAPMessage, LdapMessageFreer>;

struct BerElementFreer {
    void operator()(BerElement* ber) const { ber_free(ber, 0); }
};
using BerElementPtr = std::unique_ptr<BerElement, BerElementFreer>;

struct LdapMemFreer {
    void operator()(char* text) const { ldap_memfree(text); }
};
using LdapStringPtr = std::unique_ptr<char, LdapMemFreer>;

struct LdapDnFreer {
    void operator()(LDAPDN dn) const { ldap_dnfree(dn); }
};
using LdapDnPtr = std::unique_ptr<LDAPRDN, LdapDnFreer>;

struct LdapControlFreer {
    void operator()(LDAPControl* control) const { ldap_control_free(control); }
};
using LdapControlPtr = std::unique_ptr<LDAPControl, LdapControlFreer>;

struct LdapControlsFreer {
    void operator()(LDAPControl** controls) const { ldap_controls_free(controls); }
};
using LdapControlsPtr = std::unique_ptr<LDAPControl*, LdapControlsFreer>;

struct BervalFreer {
    void operator()(berval* value) const { ber_bvfree(value); }
};
using BervalPtr = std::unique_ptr<berval, BervalFreer>;

struct BervalsFreer {
    void operator()(berval** values) const { ldap_value_free_len(values); }
};
using BervalsPtr = std::unique_ptr<berval*, BervalsFreer>;
