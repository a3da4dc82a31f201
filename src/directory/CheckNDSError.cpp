#include "CheckNDSError.h"

#include "DirectoryUi.h"

#include <cstdio>

bool CheckNDSError(NWDSCCODE code, const std::string& label) {
    if (code == 0)
        return false;
    char hex[16];
    std::snprintf(hex, sizeof hex, "%X", static_cast<unsigned>(static_cast<std::uint32_t>(code)));
    Ui().ShowMessage("Error Code " + std::string(hex) + " - " + label);
    return true;
}
