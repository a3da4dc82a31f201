#pragma once

#include "ui/CreatedAccount.h"

#include <QByteArray>
#include <QString>

#include <initializer_list>
#include <vector>

// The account list as CSV (RFC 4180: CR LF line ends, a field quoted when it holds a comma, a
// quote or a line break, quotes doubled), UTF-8, with the header line
// `Login name,Last name,Container,Directory name,Password`.
QByteArray AccountListCsv(const std::vector<CreatedAccount>& accounts);

// Writes the list to `path` whole or not at all (QSaveFile), readable and writable by its owner
// only, also when it replaces a file others could read. False with Qt's reason in `error`.
bool SaveAccountList(const QString& path, const std::vector<CreatedAccount>& accounts, QString* error);

// One CSV record of `fields`, as the account list writes them, appended to `csv`.
void AppendCsvRecord(QByteArray* csv, std::initializer_list<QString> fields);

// Writes `bytes` to `path` as the account list is written: whole or not at all, owner only.
bool SaveOwnerOnlyFile(const QString& path, const QByteArray& bytes, QString* error);
