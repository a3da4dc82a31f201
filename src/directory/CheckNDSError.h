#pragma once

#include "client/ClientTypes.h"

#include <string>

// The one way a directory result code reaches the user: shows "Error Code %X - %s" for a nonzero
// code and returns true once the user has closed the box; returns false for 0 and shows nothing.
bool CheckNDSError(NWDSCCODE code, const std::string& label);

// "Error Code " and `code` as an unsigned 32-bit hexadecimal number ("Error Code FFFFFD7C").
std::string ErrorCodeText(NWDSCCODE code);
