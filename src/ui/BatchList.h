#pragma once

#include "directory/AccountBatch.h"

#include <QByteArray>

// The list of what a batch's run did, as CSV in the account list's form, with the header line
// `Login name,Container,Directory name,Done`; saved with SaveOwnerOnlyFile.
QByteArray BatchListCsv(const AccountBatch& batch);
