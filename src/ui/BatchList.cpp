#include "ui/BatchList.h"

#include "ui/AccountList.h"

QByteArray BatchListCsv(const AccountBatch& batch) {
    QByteArray csv;
    AppendCsvRecord(&csv, {QStringLiteral("Login name"), QStringLiteral("Container"), QStringLiteral("Directory name"),
                           QStringLiteral("Done")});
    const QString container = QString::fromStdString(batch.range().container);
    const QString done = QLatin1String(ActionPast(batch.action()));
    for (const BatchDone& user : batch.Done())
        AppendCsvRecord(
            &csv, {QString::fromStdString(user.name), container, QString::fromStdString(user.directoryName), done});
    return csv;
}
