#pragma once

#include "client/ClientTypes.h"

// Start and end of the directory side of the run, called by the window's creation and close.

// Starts the client once per run; 0 when it was started now or had been started before.
NWCCODE InitNetWareClient();

// The directory steps of the window's creation: client start, the shared context with its flag
// bit 4 and the name context "[Root]". Every result is ignored, so start-up never fails.
void DirectoryStartUp();

// The window's close: releases DirContext (and forgets the handle, so nothing uses it again).
void DirectoryShutDown();
