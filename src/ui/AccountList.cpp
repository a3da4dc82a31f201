#include "ui/AccountList.h"

#include <QSaveFile>

namespace {
QByteArray CsvField(const QString& text) {
    QByteArray field = text.toUtf8();
    if (!field.contains(',') && !field.contains('"') && !field.contains('\r') && !field.contains('\n'))
        return field;
    field.replace('"', "\"\"");
    return '"' + field + '"';
}

} // namespace

void AppendCsvRecord(QByteArray* csv, std::initializer_list<QString> fields) {
    bool first = true;
    for (const QString& field : fields) {
        if (!first)
            *csv += ',';
        *csv += CsvField(field);
        first = false;
    }
    *csv += "\r\n";
}

QByteArray AccountListCsv(const std::vector<CreatedAccount>& accounts) {
    QByteArray csv;
    AppendCsvRecord(&csv, {QStringLiteral("Login name"), QStringLiteral("Last name"), QStringLiteral("Container"),
                           QStringLiteral("Directory name"), QStringLiteral("Password")});
    for (const CreatedAccount& account : accounts)
        AppendCsvRecord(
            &csv, {account.loginName, account.lastName, account.container, account.directoryName, account.password});
    return csv;
}

bool SaveAccountList(const QString& path, const std::vector<CreatedAccount>& accounts, QString* error) {
    return SaveOwnerOnlyFile(path, AccountListCsv(accounts), error);
}

bool SaveOwnerOnlyFile(const QString& path, const QByteArray& bytes, QString* error) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        *error = file.errorString();
        return false;
    }
    // The temporary file QSaveFile writes starts with the umask's mode (or that of the file it
    // replaces): owner only before the first byte goes in.
    if (!file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner)) {
        *error = file.errorString();
        file.cancelWriting();
        return false;
    }
    file.write(bytes);
    if (!file.commit()) {
        *error = file.errorString();
        return false;
    }
    return true;
}
