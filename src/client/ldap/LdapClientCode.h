#pragma once

#include "client/ClientTypes.h"
#include "client/ResultCodes.h"

#include <ldap.h>

// A libldap code as the client hands it out, once, at the client interface: LDAP_SERVER_DOWN (-1)
// becomes rc::kServerDown, since -1 is what the directory layer's cursor returns at the end of a
// listing; every other code passes unchanged.
inline NWDSCCODE ClientCode(int code) {
    return code == LDAP_SERVER_DOWN ? rc::kServerDown : code;
}
