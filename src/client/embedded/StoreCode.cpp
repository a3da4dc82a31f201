#include "client/embedded/StoreCode.h"

#include "client/ResultCodes.h"

#include <sqlite3.h>

NWDSCCODE StoreCode(int sqliteResult) {
    switch (sqliteResult & 0xFF) {
    case SQLITE_OK:
    case SQLITE_DONE:
    case SQLITE_ROW:
        return rc::kSuccess;
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return rc::kStoreBusy;
    default:
        return rc::kStoreFailure;
    }
}
