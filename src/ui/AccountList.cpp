#include "ui/AccountList.h"

#include <QSaveFile>
#include <QStringList>

namespace {
QByteArray CsvField(const QString& text) {
    QByteArray field = text.toUtf8();
    if (!field.contains(',') && !field.contains('"') && !field.contains('\r') && !field.contains('\n'))
        return field;
    field.replace('"', "\"\"");
    return '"' + field + '"';
}

void AppendRecord(QByteArray* csv, const QStringList& fields) {
    bool first = true;
    for (const QString& field : fields) {
        if (!first)
            *csv += ',';
        *csv += CsvField(field);
        first = false;
    }
    *csv += "\r\n";
}
} // namespace

QByteArray AccountListCsv(const std::vector<CreatedAccount>& accounts) {
    // The "Group" column only for a run that had a group.
    const bool group = !accounts.empty() && accounts.front().inGroup.has_value();
    QByteArray csv;
    QStringList header{QStringLiteral("Login name"), QStringLiteral("Last name"), QStringLiteral("Container"),
                       QStringLiteral("Directory name"), QStringLiteral("Password")};
    if (group)
        header << QStringLiteral("Group");
    AppendRecord(&csv, header);
    for (const CreatedAccount& account : accounts) {
        QStringList fields{account.loginName, account.lastName, account.container, account.directoryName,
                           account.password};
        if (group)
            fields << (account.inGroup.value_or(false) ? QStringLiteral("yes") : QStringLiteral("no"));
        AppendRecord(&csv, fields);
    }
    return csv;
}

bool SaveAccountList(const QString& path, const std::vector<CreatedAccount>& accounts, QString* error) {
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
    file.write(AccountListCsv(accounts));
    if (!file.commit()) {
        *error = file.errorString();
        return false;
    }
    return true;
}
