#pragma once

#include "client/DirectoryClient.h"
#include "directory/DirectoryUi.h"

#include <memory>

// Binds `client` for the directory layer from fresh process-wide values, with `ui` showing its
// messages, and runs the directory start-up of the window's creation.
void BindAndStart(std::unique_ptr<DirectoryClient> client, DirectoryUi& ui);

// Ends what BindAndStart began, as the window's close does, and more: releases DirContext when a
// client is bound, unbinds it, restores the silent interface and the values of program start.
// Harmless when nothing is bound. Returns the client that was bound.
std::unique_ptr<DirectoryClient> ShutDownAndUnbind();
