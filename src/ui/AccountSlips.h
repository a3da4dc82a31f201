#pragma once

#include "ui/CreatedAccount.h"

#include <vector>

class QPagedPaintDevice;

// Prints one slip per account (login name, password, container), as many to a page as fit, with
// a dashed line to cut along between them. False when the device cannot be painted on.
bool PrintAccountSlips(QPagedPaintDevice& device, const std::vector<CreatedAccount>& accounts);
