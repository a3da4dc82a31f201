#pragma once

#include <string>

// Gets a ticket for `principal` with `password` (kinit, the password on its standard input) into
// the cache KRB5CCNAME names, from the realm KRB5_CONFIG describes: an administrator's login
// ticket. True when kinit succeeded.
bool GetTicket(const std::string& principal, const std::string& password);
