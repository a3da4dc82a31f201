// The creation run: "Create User(s)" makes a run of User objects in the selected container.
#include "ui/uMain.h"

#include "conversion/IndexText.h"
#include "directory/CreateUserObject.h"
#include "directory/DirectoryQueries.h"
#include "directory/GroupMembership.h"
#include "directory/LoginNameCheck.h"
#include "directory/SharedContext.h"
#include "passwords/RandomPassword.h"
#include "ui/BusyCursor.h"
#include "ui/ContainerName.h"
#include "ui/CreatePreview.h"
#include "ui/DisplayPacer.h"
#include "ui/MessageBoxSeam.h"
#include "ui/NumberText.h"

#include <QLineEdit>
#include <QProgressBar>
#include <QTreeWidget>

#include <optional>

namespace {
// The next user's password as the Passwords dialog chose: empty for none, nullopt when no random
// one could be made.
std::optional<QString> NextPassword(const PasswordChoice& choice) {
    switch (choice.mode) {
    case PasswordChoice::Mode::None:
        return QString();
    case PasswordChoice::Mode::One:
        return choice.password;
    case PasswordChoice::Mode::Random:
        if (const auto random = RandomPassword(choice.length))
            return QString::fromLatin1(*random);
        return std::nullopt;
    }
    return std::nullopt;
}

std::optional<InitialPassword> WithPassword(const QString& password, bool mustChange) {
    if (password.isEmpty())
        return std::nullopt;
    return InitialPassword{password.toStdString(), mustChange};
}
} // namespace

void TfMain::bbCreateClick() {
    QTreeWidgetItem* selected = tvNDSView->currentItem();
    if (!selected || !selected->isSelected()) {
        ShowMessageBox(QStringLiteral(
            "An NDS container must be selected before attempting to create any userobjects.\r\nPlease select an NDS "
            "container and try again. If you haven't done so, press\r\nF4 to scan and display the current NDS you are "
            "logged in to."));
        EndBusyCursor();
        return;
    }
    LastDirResult = SetNameContext(DirContext, DottedContainerName(selected));
    BeginBusyCursor();

    qint32 count = 0;
    if (!StrToIntStrict(ebToCreate->text(), &count) || count < 0 || count > 9999) {
        ShowMessageBox(QStringLiteral("\"# of users to create\" must be a number between 0 and 9999.\r\nPlease verify "
                                      "this field and try again."));
        EndBusyCursor();
        return;
    }
    // A bar whose range is 0 to 0 would show Qt's endless busy animation; 0 to 1 stands still at 0.
    pbProgress->setRange(0, count == 0 ? 1 : count);
    qint32 index = 0;
    if (!StrToIntStrict(ebNumber->text(), &index)) {
        ShowMessageBox(
            QStringLiteral("\"Starting at index\" must be a number. Please verify this field and try again."));
        EndBusyCursor();
        return;
    }
    qint32 digits = 0;
    if (!StrToIntStrict(ebFixed->text(), &digits)) {
        ShowMessageBox(QStringLiteral("\"# of fixed digits\" must be a number between 0 and 9. Please verify this "
                                      "field and try again."));
        EndBusyCursor();
        return;
    }

    if (const auto nul = NulFieldText(ebLoginName->text(), ebLastName->text())) {
        ShowMessageBox(*nul + QStringLiteral(" Please verify this field and try again."));
        EndBusyCursor();
        return;
    }

    // The account list holds this run's users from here on, whatever the run's end.
    accounts_.clear();
    const QString container = QString::fromStdString(DottedContainerName(selected));
    // Login names other users hold, found with one search before the first user.
    LoginNameCheck loginNames;
    loginNames.Prepare(RunLoginNames(ebLoginName->text().toStdString(), index, digits, count));
    // The run's group, joined in batches; the account list says which users are in it.
    std::optional<GroupMembership> membership;
    if (details_.group)
        membership.emplace(details_.group->name);
    const auto noteMembership = [&] {
        for (std::size_t i = 0; membership && i < accounts_.size(); ++i)
            accounts_[i].inGroup = i < membership->JoinedCount();
    };
    DisplayPacer pacer;
    qint32 created = 0;
    while (created < count) {
        const QString name = ebLoginName->text() + QString::fromStdString(IndexText(index, digits));
        const QString surname = ebLastName->text();
        const std::optional<QString> password = NextPassword(passwords_);
        if (!password)
            ShowMessageBox(QStringLiteral("No random password could be made: the system's random source failed."));
        bool stopped = !password || !loginNames.Free(name.toStdString()) ||
                       !CreateUserObject(name.toStdString(), surname.toStdString(),
                                         WithPassword(*password, passwords_.mustChange));
        bool groupFailed = false;
        if (!stopped) {
            // Without a group the directory name waits for the list to be saved: the loop asks the
            // directory nothing more.
            const QString directoryName =
                membership ? QString::fromStdString(DirectoryNameOf(container.toStdString(), name.toStdString()))
                           : QString();
            accounts_.push_back({name, surname, container, directoryName, *password});
            pbProgress->setValue(pbProgress->value() + 1);
            if (pacer.Due())
                pbProgress->repaint();
            ++created;
            // The index wraps from 2147483647 to -2147483648 without notice.
            index = static_cast<qint32>(static_cast<quint32>(index) + 1u);
            groupFailed = membership && !membership->Add(name.toStdString(), directoryName.toStdString());
            stopped = groupFailed;
        }
        if (stopped) {
            // The users created before the stop still join the group.
            if (membership && !groupFailed)
                membership->Flush();
            noteMembership();
            ShowMessageBox(QStringLiteral("An NDS-error was encountered, aborting creation process. \r\n") +
                           QString::number(created) + QStringLiteral(" users succesfully created."));
            pbProgress->setValue(0);
            UpdateAccountListMenus();
            EndBusyCursor();
            return;
        }
    }
    const bool joined = !membership || membership->Flush();
    noteMembership();
    UpdateAccountListMenus();
    EndBusyCursor();
    if (joined)
        ShowMessageBox(QString::number(created) + QStringLiteral(" users succesfully created."));
    else
        ShowMessageBox(QStringLiteral("An NDS-error was encountered, aborting creation process. \r\n") +
                       QString::number(created) + QStringLiteral(" users succesfully created."));
    pbProgress->setValue(0);
}

void TfMain::UpdateAccountListMenus() {
    SaveAccountList1->setEnabled(!accounts_.empty());
    PrintAccountSlips1->setEnabled(!accounts_.empty());
}
