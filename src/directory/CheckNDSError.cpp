#include "directory/CheckNDSError.h"

#include "directory/DirectoryUi.h"

#include <cstdio>

std::string ErrorCodeText(NWDSCCODE code) {
    char hex[16];
    std::snprintf(hex, sizeof hex, "%X", static_cast<unsigned>(static_cast<std::uint32_t>(code)));
    return "Error Code " + std::string(hex);
}

bool CheckNDSError(NWDSCCODE code, const std::string& label) {
    if (code == 0)
        return false;
    Ui().ShowMessage(ErrorCodeText(code) + " - " + label);
    return true;
}
