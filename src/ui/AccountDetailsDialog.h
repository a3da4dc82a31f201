#pragma once

#include "client/ExpirySupport.h"
#include "client/PosixSupport.h"
#include "directory/AccountDetails.h"

#include <QDialog>

#include <vector>

class QCheckBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

// The modal "Account details" dialog: the group the following runs' users join. The directory's
// groups are listed once, when the dialog opens (`groups`), each with its container; typing in the
// filter narrows the list. The choice is kept by the group's directory name, never by its text.
// Below it, the day after which the users may no longer log in, where the directory (`expiry`) can
// set one; otherwise disabled with the reason as its tooltip. Below that, a Linux login (POSIX) for each
// user where the directory (`posix`) can give one, likewise: its GID number (the chosen group's when it
// has one), home directory template, login shell and the range uidNumbers are taken from.
class TfAccountDetails : public QDialog {
    Q_OBJECT
public:
    // `listError` is the text shown instead of the list when the directory could not list its groups.
    TfAccountDetails(const AccountDetails& details, std::vector<DirectoryGroup> groups, const QString& listError,
                     QWidget* parent = nullptr, ExpiryLimit expiry = ExpiryLimit::None,
                     PosixLimit posix = PosixLimit::None);

    // The choice as the controls show it (what OK keeps).
    AccountDetails Details() const;

    QCheckBox* cbGroup = nullptr;
    QLabel* lbFilter = nullptr;
    QLineEdit* ebFilter = nullptr;
    QListWidget* lbGroups = nullptr;
    QCheckBox* cbExpires = nullptr;
    QDateEdit* deExpires = nullptr;
    QCheckBox* cbPosix = nullptr;
    QLineEdit* ebGid = nullptr;
    QLineEdit* ebHome = nullptr;
    QLineEdit* ebShell = nullptr;
    QLineEdit* ebUidLow = nullptr;
    QLineEdit* ebUidHigh = nullptr;
    QPushButton* bbOK = nullptr;
    QPushButton* bbCancel = nullptr;

    // OK: a group must be selected when "Group" is checked, an expiry date must not lie in the past, and
    // a Linux login needs a GID number, a range of numbers and absolute ASCII paths; otherwise a message,
    // and the dialog stays.
    void accept() override;

private:
    void Filter();
    void UpdateControls();
    // The Linux login as its fields show it; a field that holds no number leaves its number out.
    PosixChoice Posix() const;

    std::vector<DirectoryGroup> groups_;
    // Why the directory cannot make accounts expire: where it keeps expiry in shadowExpire, only with a
    // Linux login.
    ExpiryLimit expiryLimit_;
};
