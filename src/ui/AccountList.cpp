#include "ui/AccountList.h"

#include "ui/PrivateFile.h"

#include <QIODevice>

#include <array>

namespace {
// A spreadsheet takes a field that starts like this for a formula, and runs it: a leading quote
// makes it text (OWASP's advice against CSV injection).
bool StartsLikeFormula(QByteArrayView field) {
    return !field.isEmpty() && QByteArrayView("=+-@\t\r").contains(field.front());
}

// Appends the field straight to the list: no copy of a password is left anywhere else.
void AppendField(QByteArray* csv, QByteArrayView field) {
    const bool quoted = field.contains(',') || field.contains('"') || field.contains('\r') || field.contains('\n');
    if (quoted)
        *csv += '"';
    if (StartsLikeFormula(field))
        *csv += '\'';
    for (const char c : field) {
        if (c == '"')
            *csv += '"';
        *csv += c;
    }
    if (quoted)
        *csv += '"';
}

void AppendRecord(QByteArray* csv, std::initializer_list<QByteArrayView> fields, QByteArrayView last = {}) {
    bool first = true;
    for (const QByteArrayView field : fields) {
        if (!first)
            *csv += ',';
        AppendField(csv, field);
        first = false;
    }
    if (!last.isNull()) {
        *csv += ',';
        AppendField(csv, last);
    }
    *csv += "\r\n";
}

} // namespace

void AppendCsvRecord(QByteArray* csv, std::initializer_list<QString> fields) {
    bool first = true;
    for (const QString& field : fields) {
        if (!first)
            *csv += ',';
        AppendField(csv, field.toUtf8());
        first = false;
    }
    *csv += "\r\n";
}

QByteArray AccountListCsv(const std::vector<CreatedAccount>& accounts) {
    // The "Group" column only for a run that had a group.
    const bool group = !accounts.empty() && accounts.front().inGroup.has_value();
    const QByteArray header =
        QByteArray("Login name,Last name,Container,Directory name,Password") + (group ? ",Group" : "");
    std::vector<std::array<QByteArray, 4>> names;
    names.reserve(accounts.size());
    // Room for every field doubled and quoted: the list never moves, so it leaves no copy behind.
    qsizetype room = header.size() + 2;
    for (const CreatedAccount& account : accounts) {
        names.push_back({account.loginName.toUtf8(), account.lastName.toUtf8(), account.container.toUtf8(),
                         account.directoryName.toUtf8()});
        room += 2 * static_cast<qsizetype>(account.password.size()) + 32;
        for (const QByteArray& name : names.back())
            room += 2 * name.size();
    }
    QByteArray csv;
    csv.reserve(room);
    csv += header + "\r\n";
    for (std::size_t i = 0; i < accounts.size(); ++i) {
        const std::string_view password = accounts[i].password.View();
        const QByteArrayView inGroup = !group                                ? QByteArrayView()
                                       : accounts[i].inGroup.value_or(false) ? QByteArrayView("yes")
                                                                             : QByteArrayView("no");
        AppendRecord(&csv,
                     {names[i][0], names[i][1], names[i][2], names[i][3],
                      QByteArrayView(password.data(), static_cast<qsizetype>(password.size()))},
                     inGroup);
    }
    return csv;
}

bool SaveAccountList(const QString& path, const std::vector<CreatedAccount>& accounts, QString* error) {
    return WritePrivateFile(
        path,
        [&accounts](QIODevice& file) {
            QByteArray csv = AccountListCsv(accounts);
            const bool written = file.write(csv) == csv.size();
            WipeMemory(csv.data(), static_cast<std::size_t>(csv.size()));
            return written;
        },
        error);
}

bool SaveOwnerOnlyFile(const QString& path, const QByteArray& bytes, QString* error) {
    return WritePrivateFile(
        path, [&bytes](QIODevice& file) { return file.write(bytes) == bytes.size(); }, error);
}
