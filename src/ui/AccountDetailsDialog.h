#pragma once

#include "directory/AccountDetails.h"

#include <QDialog>

#include <vector>

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

// The modal "Account details" dialog: the group the following runs' users join. The directory's
// groups are listed once, when the dialog opens (`groups`), each with its container; typing in the
// filter narrows the list. The choice is kept by the group's directory name, never by its text.
class TfAccountDetails : public QDialog {
    Q_OBJECT
public:
    // `listError` is the text shown instead of the list when the directory could not list its groups.
    TfAccountDetails(const AccountDetails& details, std::vector<DirectoryGroup> groups, const QString& listError,
                     QWidget* parent = nullptr);

    // The choice as the controls show it (what OK keeps).
    AccountDetails Details() const;

    QCheckBox* cbGroup = nullptr;
    QLabel* lbFilter = nullptr;
    QLineEdit* ebFilter = nullptr;
    QListWidget* lbGroups = nullptr;
    QPushButton* bbOK = nullptr;
    QPushButton* bbCancel = nullptr;

    // OK: a group must be selected when "Group" is checked; otherwise a message, and the dialog stays.
    void accept() override;

private:
    void Filter();
    void UpdateControls();

    std::vector<DirectoryGroup> groups_;
};
