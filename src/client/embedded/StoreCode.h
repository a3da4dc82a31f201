#pragma once

#include "client/ClientTypes.h"

// Turns an SQLite result into our code: busy and locked become kStoreBusy, other errors kStoreFailure.
NWDSCCODE StoreCode(int sqliteResult);
