#pragma once

#include "client/ClientTypes.h"

#include <string>

// Name of the identity `context` is authenticated as ("[Public]" when nobody is logged in);
// empty when the client cannot tell.
std::string GetIdentityName(NWDSContextHandle context);
