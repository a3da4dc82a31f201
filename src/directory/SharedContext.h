#pragma once

#include "client/ClientTypes.h"

#include <cstdint>
#include <string>

// The directory side of the whole run: the shared context, the result of the last name-context
// change or listing step, and the client's start handle.
extern NWDSContextHandle DirContext;
extern NWDSCCODE LastDirResult;
extern std::uint32_t ClientHandle;

// Sets the name context of `context`; returns the client's result.
NWDSCCODE SetNameContext(NWDSContextHandle context, const std::string& name);

// Puts the three process-wide values back to their values at program start (for tests).
void ResetDirectoryState();
