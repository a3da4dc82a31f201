#pragma once

#include "ui/CreatedAccount.h"

#include <QByteArray>
#include <QString>

#include <initializer_list>
#include <vector>

// The account list as CSV (RFC 4180: CR LF line ends, a field quoted when it holds a comma, a
// quote or a line break, quotes doubled), UTF-8, with the header line
// `Login name,Last name,Container,Directory name,Password`, and `,Group` (yes or no) after it when the
// run had a group. A field that begins with = + - @, a tab or a carriage return gets a leading ' so that no
// spreadsheet reads it as a formula.
QByteArray AccountListCsv(const std::vector<CreatedAccount>& accounts);

// Writes the list to `path` as WritePrivateFile does: whole or not at all, owner only. False with
// Qt's reason in `error`.
bool SaveAccountList(const QString& path, const std::vector<CreatedAccount>& accounts, QString* error);

// One CSV record of `fields`, as the account list writes them, appended to `csv`.
void AppendCsvRecord(QByteArray* csv, std::initializer_list<QString> fields);

// Writes `bytes` to `path` as the account list is written: whole or not at all, owner only.
bool SaveOwnerOnlyFile(const QString& path, const QByteArray& bytes, QString* error);
