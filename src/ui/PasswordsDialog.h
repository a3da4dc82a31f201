#pragma once

#include "client/PasswordSupport.h"
#include "ui/PasswordChoice.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;

// Longest password the dialog takes, in bytes of UTF-8: what a directory's attribute area holds.
inline constexpr int kMaxPasswordBytes = 256;

// The modal "Passwords" dialog: no password, one password for all users, or a random one for
// each, and whether users must change it at first login, where the directory can ask for that.
class TfPasswords : public QDialog {
    Q_OBJECT
public:
    TfPasswords(const PasswordChoice& choice, const PasswordSupport& support, QWidget* parent = nullptr);

    // The choice as the controls show it (what OK keeps).
    PasswordChoice Choice() const;

    QRadioButton* rbNoPassword = nullptr;
    QRadioButton* rbOnePassword = nullptr;
    QLabel* lbPassword = nullptr;
    QLineEdit* ebPassword = nullptr;
    QLabel* lbRepeatPassword = nullptr;
    QLineEdit* ebRepeatPassword = nullptr;
    QRadioButton* rbRandomPassword = nullptr;
    QLabel* lbLength = nullptr;
    QSpinBox* seLength = nullptr;
    QCheckBox* cbMustChange = nullptr;
    // How the connection keeps the passwords on their way, or why they cannot go.
    QLabel* lbProtection = nullptr;
    QPushButton* bbOK = nullptr;
    QPushButton* bbCancel = nullptr;

    // OK: refuses an empty, differing or over-long typed password with a message and stays open.
    void accept() override;

private:
    void UpdateControls();

    PasswordSupport support_;
};

// Why a directory cannot do what `limit` names, as a tooltip says it.
QString PasswordLimitText(PasswordLimit limit);
// How passwords reach the directory over a connection protected so, as the dialog says it.
QString ProtectionText(ConnectionProtection protection);
