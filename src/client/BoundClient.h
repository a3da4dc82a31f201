#pragma once

#include "client/DirectoryClient.h"

#include <memory>

// The program binds one client when it starts; the directory layer uses whichever is bound.
void BindClient(std::unique_ptr<DirectoryClient> client);
// Releases the bound client and returns it (tests rebind between cases).
std::unique_ptr<DirectoryClient> UnbindClient();
// The bound client. Binding happens before any directory procedure runs.
DirectoryClient& Client();
bool HasBoundClient();
