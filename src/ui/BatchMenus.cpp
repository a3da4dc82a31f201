// Tools, "Disable or remove users...": the dialog, the run with the window's progress bar, and the
// list of what was done.
#include "ui/uMain.h"

#include "ui/AccountList.h"
#include "ui/BatchDialog.h"
#include "ui/BatchList.h"
#include "ui/BusyCursor.h"
#include "ui/ContainerName.h"
#include "ui/MessageBoxSeam.h"
#include "ui/OutputDialogSeam.h"

#include <QDir>
#include <QLineEdit>
#include <QTreeWidget>

void TfMain::DisableUsers1Click() {
    QTreeWidgetItem* selected = tvNDSView->currentItem();
    if (!selected || !selected->isSelected()) {
        ShowMessageBox(QStringLiteral("A container must be selected before users can be disabled or removed.\r\n"
                                      "Please select a container and try again."));
        return;
    }
    TfBatch dialog(QString::fromStdString(DottedContainerName(selected)),
                   {ebLoginName->text(), ebNumber->text(), ebToCreate->text(), ebFixed->text()}, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const std::unique_ptr<AccountBatch> batch = dialog.TakeBatch();
    if (!batch)
        return;

    BeginBusyCursor();
    pbProgress->setRange(0, static_cast<int>(batch->Preview().targets.size()));
    // A step for each user done, painted as it goes and told to a screen reader paced.
    const bool finished = batch->Run([this](std::size_t) { pbProgress->Advance(); });
    pbProgress->Settle();
    EndBusyCursor();
    const QString count = QString::number(batch->Done().size()) + QStringLiteral(" users ") +
                          QLatin1String(ActionPast(batch->action())) + QLatin1Char('.');
    ShowMessageBox(finished ? count : QStringLiteral("An NDS-error was encountered, aborting. \r\n") + count);
    pbProgress->setValue(0);
    if (batch->Done().empty())
        return;
    const QString path =
        AskSaveFileName(this, QStringLiteral("Save the list of users ") + QLatin1String(ActionPast(batch->action())),
                        QDir::home().filePath(QStringLiteral("batch.csv")));
    QString error;
    if (!path.isEmpty() && !SaveOwnerOnlyFile(path, BatchListCsv(*batch), &error))
        ShowMessageBox(QStringLiteral("The list could not be saved.\r\n") + error);
}
