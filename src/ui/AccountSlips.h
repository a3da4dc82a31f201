#pragma once

#include "ui/CreatedAccount.h"

#include <vector>

class QPagedPaintDevice;
class QPrinter;

// Prints one slip per account (login name, password, container), as many to a page as fit, with
// a dashed line to cut along between them. False when the device cannot be painted on.
bool PrintAccountSlips(QPagedPaintDevice& device, const std::vector<CreatedAccount>& accounts);

// Prints the slips as `printer` is set up. "Print to File (PDF)" is written here, not by the
// printer, so that the file is made as the account list is (PrivateFile.h): owner only, whole or
// not at all.
bool PrintAccountSlips(QPrinter& printer, const std::vector<CreatedAccount>& accounts);
