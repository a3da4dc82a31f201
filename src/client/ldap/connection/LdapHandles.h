#pragma once

#include "client/CHandle.h"

#include <ldap.h>

// Owners for everything libldap hands out, each released the way its manual page says.
inline void UnbindLdap(LDAP* ld) {
    ldap_unbind_ext_s(ld, nullptr, nullptr);
}
// The element of an attribute walk; the entry it reads from owns the data, so no buffer is freed.
inline void FreeBerElement(BerElement* ber) {
    ber_free(ber, 0);
}

using LdapPtr = CHandle<LDAP, UnbindLdap>;
// A search result is freed whatever the search returned.
using LdapMessagePtr = CHandle<LDAPMessage, ldap_msgfree>;
using BerElementPtr = CHandle<BerElement, FreeBerElement>;
using LdapStringPtr = CHandle<char, ldap_memfree>;
// Memory the BER library allocates for a caller (escaped filter values, page cookies).
using BerMemoryPtr = CHandle<char, ber_memfree>;
using LdapDnPtr = CHandle<LDAPRDN, ldap_dnfree>;
using LdapControlPtr = CHandle<LDAPControl, ldap_control_free>;
using LdapControlsPtr = CHandle<LDAPControl*, ldap_controls_free>;
using BervalPtr = CHandle<berval, ber_bvfree>;
using BervalsPtr = CHandle<berval*, ldap_value_free_len>;
