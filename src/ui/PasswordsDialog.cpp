#include "ui/PasswordsDialog.h"

#include "ui/MessageBoxSeam.h"
#include "ui/SecretString.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {
template <typename Widget> Widget* Named(Widget* widget, const char* name) {
    widget->setObjectName(QLatin1String(name));
    return widget;
}

// Fields below a radio button stand indented under it.
constexpr int kIndent = 24;
} // namespace

QString PasswordLimitText(PasswordLimit limit) {
    switch (limit) {
    case PasswordLimit::None:
        return {};
    case PasswordLimit::NoPasswords:
        return QStringLiteral("This directory cannot set a password when it creates a user.");
    case PasswordLimit::NoStandardWay:
        return QStringLiteral("This directory has no standard way to ask users to change their password.");
    case PasswordLimit::Unencrypted:
        return QStringLiteral("Passwords are set only over an encrypted connection (ldaps://, StartTLS, ldapi:// or a "
                              "sealed Kerberos session).");
    case PasswordLimit::UnknownServer:
        return QStringLiteral("This LDAP server is of no known kind, so how it keeps passwords is not known.");
    case PasswordLimit::NoPolicyOverlay:
        return QStringLiteral("This OpenLDAP server has no password policy overlay (ppolicy), its standard way to "
                              "ask for a change at first login.");
    case PasswordLimit::PolicyOff:
        return QStringLiteral("The server's password policy does not ask for a change of a password an "
                              "administrator set (pwdMustChange, or passwordMustChange on 389 Directory Server).");
    case PasswordLimit::PolicyHidden:
        return QStringLiteral("The server's password policy decides on a change at first login, and you may not "
                              "read it.");
    case PasswordLimit::Unreachable:
        return QStringLiteral("The directory could not be reached to ask what it supports.");
    }
    return {};
}

QString ProtectionText(ConnectionProtection protection) {
    switch (protection) {
    case ConnectionProtection::Unknown:
        return QStringLiteral("The directory could not be asked how the connection is protected.");
    case ConnectionProtection::LocalStore:
        return QStringLiteral("Passwords stay on this computer: the directory is a local file.");
    case ConnectionProtection::LocalSocket:
        return QStringLiteral("Passwords go over the local socket.");
    case ConnectionProtection::VerifiedTls:
        return QStringLiteral("Passwords go over TLS with a verified certificate.");
    case ConnectionProtection::SealedKerberos:
        return QStringLiteral("Passwords go over the Kerberos session's sealed layer.");
    case ConnectionProtection::UnverifiedTls:
        return QStringLiteral("Passwords cannot go: the server's certificate was not verified.");
    case ConnectionProtection::None:
        return QStringLiteral("Passwords cannot go: the connection is neither encrypted nor sealed.");
    }
    return {};
}

TfPasswords::TfPasswords(const PasswordChoice& choice, const PasswordSupport& support, QWidget* parent)
    : QDialog(parent), support_(support) {
    setObjectName(QStringLiteral("fPasswords"));
    setWindowTitle(QStringLiteral("Passwords"));
    setModal(true);

    rbNoPassword = Named(new QRadioButton(QStringLiteral("&No password"), this), "rbNoPassword");
    rbOnePassword = Named(new QRadioButton(QStringLiteral("&One password for all users"), this), "rbOnePassword");
    lbPassword = Named(new QLabel(QStringLiteral("&Password"), this), "lbPassword");
    ebPassword = Named(new QLineEdit(FromSecret(choice.password), this), "ebPassword");
    lbRepeatPassword = Named(new QLabel(QStringLiteral("R&epeat password"), this), "lbRepeatPassword");
    ebRepeatPassword = Named(new QLineEdit(FromSecret(choice.password), this), "ebRepeatPassword");
    rbRandomPassword =
        Named(new QRadioButton(QStringLiteral("A &random password for each user"), this), "rbRandomPassword");
    lbLength = Named(new QLabel(QStringLiteral("&Length"), this), "lbLength");
    seLength = Named(new QSpinBox(this), "seLength");
    cbMustChange =
        Named(new QCheckBox(QStringLiteral("&Users must change the password at first login"), this), "cbMustChange");
    lbProtection = Named(new QLabel(ProtectionText(support.protection), this), "lbProtection");
    bbOK = Named(new QPushButton(QStringLiteral("OK"), this), "bbOK");
    bbCancel = Named(new QPushButton(QStringLiteral("Cancel"), this), "bbCancel");

    for (QLineEdit* edit : {ebPassword, ebRepeatPassword})
        edit->setEchoMode(QLineEdit::Password);
    lbPassword->setBuddy(ebPassword);
    lbRepeatPassword->setBuddy(ebRepeatPassword);
    lbLength->setBuddy(seLength);
    seLength->setRange(kMinRandomPasswordLength, kMaxRandomPasswordLength);
    seLength->setValue(choice.length);

    auto* modes = new QButtonGroup(this);
    for (QRadioButton* button : {rbNoPassword, rbOnePassword, rbRandomPassword})
        modes->addButton(button);
    switch (choice.mode) {
    case PasswordChoice::Mode::None:
        rbNoPassword->setChecked(true);
        break;
    case PasswordChoice::Mode::One:
        rbOnePassword->setChecked(true);
        break;
    case PasswordChoice::Mode::Random:
        rbRandomPassword->setChecked(true);
        break;
    }
    cbMustChange->setChecked(choice.mustChange && support.CanAskForChange());
    // Where the directory sets no passwords, only "No password" can be chosen.
    if (!support.CanSetPassword()) {
        rbNoPassword->setChecked(true);
        for (QRadioButton* button : {rbOnePassword, rbRandomPassword}) {
            button->setEnabled(false);
            button->setToolTip(PasswordLimitText(support.password));
        }
    }
    if (!support.CanAskForChange())
        cbMustChange->setToolTip(PasswordLimitText(support.mustChange));

    auto* fields = new QGridLayout;
    fields->setContentsMargins(kIndent, 0, 0, 0);
    fields->addWidget(lbPassword, 0, 0);
    fields->addWidget(ebPassword, 0, 1);
    fields->addWidget(lbRepeatPassword, 1, 0);
    fields->addWidget(ebRepeatPassword, 1, 1);
    auto* length = new QHBoxLayout;
    length->setContentsMargins(kIndent, 0, 0, 0);
    length->addWidget(lbLength);
    length->addWidget(seLength);
    length->addStretch();
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(bbOK);
    buttons->addWidget(bbCancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(rbNoPassword);
    layout->addWidget(rbOnePassword);
    layout->addLayout(fields);
    layout->addWidget(rbRandomPassword);
    layout->addLayout(length);
    layout->addSpacing(8);
    layout->addWidget(cbMustChange);
    layout->addSpacing(8);
    layout->addWidget(lbProtection);
    layout->addSpacing(8);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    bbOK->setDefault(true);
    connect(bbOK, &QPushButton::clicked, this, &TfPasswords::accept);
    connect(bbCancel, &QPushButton::clicked, this, &TfPasswords::reject);
    connect(modes, &QButtonGroup::buttonToggled, this, &TfPasswords::UpdateControls);
    UpdateControls();
}

void TfPasswords::UpdateControls() {
    const bool one = rbOnePassword->isChecked();
    for (QWidget* widget : std::initializer_list<QWidget*>{lbPassword, ebPassword, lbRepeatPassword, ebRepeatPassword})
        widget->setEnabled(one);
    lbLength->setEnabled(rbRandomPassword->isChecked());
    seLength->setEnabled(rbRandomPassword->isChecked());
    // A change at first login needs a password to change.
    cbMustChange->setEnabled(support_.CanAskForChange() && !rbNoPassword->isChecked());
}

PasswordChoice TfPasswords::Choice() const {
    PasswordChoice choice;
    if (rbOnePassword->isChecked()) {
        choice.mode = PasswordChoice::Mode::One;
        choice.password = ToSecret(ebPassword->text());
    } else if (rbRandomPassword->isChecked()) {
        choice.mode = PasswordChoice::Mode::Random;
    }
    choice.length = seLength->value();
    choice.mustChange = cbMustChange->isEnabled() && cbMustChange->isChecked();
    return choice;
}

void TfPasswords::accept() {
    if (rbOnePassword->isChecked()) {
        // The messages never hold the password itself.
        const QString typed = ebPassword->text();
        QString refusal;
        if (typed.isEmpty())
            refusal = QStringLiteral("Please type the password for all users.");
        else if (typed != ebRepeatPassword->text())
            refusal = QStringLiteral("The two passwords differ. Please type the same password twice.");
        else if (typed.toUtf8().size() > kMaxPasswordBytes)
            refusal = QStringLiteral("The password is longer than 256 bytes. Please choose a shorter one.");
        if (!refusal.isEmpty()) {
            ShowMessageBox(refusal);
            ebPassword->setFocus();
            return;
        }
    }
    QDialog::accept();
}
