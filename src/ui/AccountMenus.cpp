// The Passwords and Account details dialogs, and what leaves the program of a run: the account list and the slips.
#include "ui/uMain.h"

#include "directory/CheckNDSError.h"
#include "directory/DirectoryQueries.h"
#include "ui/AccountDetailsDialog.h"
#include "ui/AccountList.h"
#include "ui/AccountSlips.h"
#include "ui/BusyCursor.h"
#include "ui/MessageBoxSeam.h"
#include "ui/OutputDialogSeam.h"
#include "ui/PasswordsDialog.h"

#include <QDir>
#include <QPrinter>

void TfMain::Passwords1Click() {
    TfPasswords dialog(passwords_, DirectoryPasswordSupport(), this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    passwords_ = dialog.Choice();
    UpdateCreatePreview();
}

void TfMain::AccountDetails1Click() {
    std::vector<DirectoryGroup> groups;
    int code = 0;
    BeginBusyCursor();
    const bool listed = DirectoryGroups(&groups, &code);
    EndBusyCursor();
    const QString listError = listed ? QString()
                                     : QStringLiteral("The directory's groups could not be listed: ") +
                                           QString::fromStdString(ErrorCodeText(code)) + QStringLiteral(".");
    TfAccountDetails dialog(details_, std::move(groups), listError, this, DirectoryExpirySupport(),
                            DirectoryPosixSupport());
    if (dialog.exec() != QDialog::Accepted)
        return;
    details_ = dialog.Details();
    UpdateCreatePreview();
}

void TfMain::SaveAccountList1Click() {
    const QString path = AskSaveFileName(this, QStringLiteral("Save account list"),
                                         QDir::home().filePath(QStringLiteral("accounts.csv")));
    if (path.isEmpty())
        return;
    for (CreatedAccount& account : accounts_) {
        if (account.directoryName.isEmpty())
            account.directoryName = QString::fromStdString(
                DirectoryNameOf(account.container.toStdString(), account.loginName.toStdString()));
    }
    QString error;
    if (!SaveAccountList(path, accounts_, &error))
        ShowMessageBox(QStringLiteral("The account list could not be saved.\r\n") + error);
}

void TfMain::PrintAccountSlips1Click() {
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(QStringLiteral("Account slips"));
    if (!AskPrinter(this, QStringLiteral("Print account slips"), &printer))
        return;
    if (!PrintAccountSlips(printer, accounts_))
        ShowMessageBox(QStringLiteral("The account slips could not be printed."));
}
