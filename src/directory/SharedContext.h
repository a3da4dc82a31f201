#pragma once

#include "ClientTypes.h"

#include <cstdint>
#include <string>

// The directory side of the whole run: the shared context, the result of the last name-context
// change or listing step, and the client's start handle.
extern NWDSContextHandle DirContext;
extern NWDSCCODE LastDirResult;
extern std::uint32_t ClientHandle;

// Starts the client once per run; 0 when it was started now or had been started before.
NWCCODE InitNetWareClient();

// Name of the identity `context` is authenticated as; empty when the client cannot tell.
std::string GetIdentityName(NWDSContextHandle context);

// Shows "Error Code %X - %s" for a nonzero code and returns true once the user has closed the
// box; returns false for 0 and shows nothing.
bool CheckNDSError(NWDSCCODE code, const std::string& label);

// The directory steps of the window's creation: client start, the shared context with its flag
// bit 4 and the name context "[Root]". Every result is ignored, so start-up never fails.
void DirectoryStartUp();

// The window's close: releases DirContext (and forgets the handle, so nothing uses it again).
void DirectoryShutDown();

// Sets the name context of `context`; returns the client's result.
NWDSCCODE SetNameContext(NWDSContextHandle context, const std::string& name);

// Puts the three process-wide values back to their values at program start (for tests).
void ResetDirectoryState();
