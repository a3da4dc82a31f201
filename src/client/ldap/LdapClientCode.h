#pragma once

#include "client/ClientTypes.h"
#include "client/ResultCodes.h"

#include <ldap.h>

// Largest code a server's result may keep: the start steps hand out 16 bits, in which a larger one
// could read as success.
inline constexpr int kLargestPassedCode = 0xFFFF;

// A libldap code as the client hands it out, once, at the client interface: LDAP_SERVER_DOWN (-1)
// becomes rc::kServerDown, since -1 is what the directory layer's cursor returns at the end of a
// listing; a code a server sent that does not fit 16 bits becomes LDAP_OTHER; every other code
// passes unchanged.
inline NWDSCCODE ClientCode(int code) {
    if (code > kLargestPassedCode || code < -kLargestPassedCode)
        return LDAP_OTHER;
    return code == LDAP_SERVER_DOWN ? rc::kServerDown : code;
}
