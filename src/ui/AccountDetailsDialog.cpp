#include "ui/AccountDetailsDialog.h"

#include "directory/PosixIdentity.h"
#include "ui/MessageBoxSeam.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QDateTime>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
template <typename Widget> Widget* Named(Widget* widget, const char* name) {
    widget->setObjectName(QLatin1String(name));
    return widget;
}

// Each row keeps the index of its group in the listed groups.
constexpr int kGroupIndexRole = Qt::UserRole;

// Why a directory cannot make its users expire; empty where it can.
QString ExpiryLimitText(ExpiryLimit limit) {
    switch (limit) {
    case ExpiryLimit::None:
        break;
    case ExpiryLimit::NoPosixAccounts:
        return QStringLiteral("This server keeps an account's expiry in shadowExpire, which only accounts with "
                              "Linux login (POSIX) attributes hold.");
    case ExpiryLimit::UnknownServer:
        return QStringLiteral("The directory's server is of no known kind: how it keeps an account's expiry is not "
                              "known.");
    case ExpiryLimit::Unreachable:
        return QStringLiteral("The directory could not be asked whether it can make accounts expire.");
    }
    return {};
}

// Why a directory cannot give its users a Linux login; empty where it can.
QString PosixLimitText(PosixLimit limit) {
    switch (limit) {
    case PosixLimit::None:
        break;
    case PosixLimit::NoSchema:
        return QStringLiteral("The directory's schema has no posixAccount class: its users cannot get a Linux "
                              "login.");
    case PosixLimit::Unreachable:
        return QStringLiteral("The directory could not be asked whether it can give users a Linux login.");
    }
    return {};
}

// A number typed in a field; nullopt for anything else.
std::optional<std::uint32_t> FieldNumber(const QLineEdit* field) {
    bool ok = false;
    const uint value = field->text().trimmed().toUInt(&ok);
    return ok ? std::optional<std::uint32_t>(value) : std::nullopt;
}
} // namespace

TfAccountDetails::TfAccountDetails(const AccountDetails& details, std::vector<DirectoryGroup> groups,
                                   const QString& listError, QWidget* parent, ExpiryLimit expiry, PosixLimit posix)
    : QDialog(parent), groups_(std::move(groups)), expiryLimit_(expiry) {
    setObjectName(QStringLiteral("fAccountDetails"));
    setWindowTitle(QStringLiteral("Account details"));
    setModal(true);

    cbGroup = Named(new QCheckBox(QStringLiteral("&Group the users join"), this), "cbGroup");
    lbFilter = Named(new QLabel(QStringLiteral("&Find"), this), "lbFilter");
    ebFilter = Named(new QLineEdit(this), "ebFilter");
    lbGroups = Named(new QListWidget(this), "lbGroups");
    lbGroups->setAccessibleName(QStringLiteral("Groups"));
    cbExpires = Named(new QCheckBox(QStringLiteral("Accounts &expire at the end of"), this), "cbExpires");
    deExpires = Named(new QDateEdit(this), "deExpires");
    deExpires->setCalendarPopup(true);
    deExpires->setAccessibleName(QStringLiteral("Expiry date"));
    cbPosix = Named(new QCheckBox(QStringLiteral("&Linux login (POSIX)"), this), "cbPosix");
    ebGid = Named(new QLineEdit(this), "ebGid");
    ebHome = Named(new QLineEdit(this), "ebHome");
    ebShell = Named(new QLineEdit(this), "ebShell");
    ebUidLow = Named(new QLineEdit(this), "ebUidLow");
    ebUidHigh = Named(new QLineEdit(this), "ebUidHigh");
    bbOK = Named(new QPushButton(QStringLiteral("OK"), this), "bbOK");
    bbCancel = Named(new QPushButton(QStringLiteral("Cancel"), this), "bbCancel");
    lbFilter->setBuddy(ebFilter);
    bbOK->setDefault(true);

    for (std::size_t i = 0; i < groups_.size(); ++i) {
        const DirectoryGroup& group = groups_[i];
        auto* row = new QListWidgetItem(QString::fromStdString(group.label) + QStringLiteral("  (") +
                                            QString::fromStdString(group.container) + QStringLiteral(")"),
                                        lbGroups);
        row->setData(kGroupIndexRole, static_cast<int>(i));
        row->setToolTip(QString::fromStdString(group.name));
        if (details.group && details.group->name == group.name)
            lbGroups->setCurrentItem(row);
    }
    cbGroup->setChecked(details.group.has_value());
    if (!listError.isEmpty()) {
        cbGroup->setToolTip(listError);
        cbGroup->setChecked(false);
    }
    cbGroup->setEnabled(listError.isEmpty() && !groups_.empty());

    // The date is the last day the users may log in, in this machine's time zone.
    deExpires->setDate(details.expiresAt ? QDateTime::fromSecsSinceEpoch(*details.expiresAt).date().addDays(-1)
                                         : QDate::currentDate().addYears(1));
    cbExpires->setChecked(details.expiresAt.has_value() &&
                          ExpiryAllowed(expiry, details.posix.has_value() && posix == PosixLimit::None));
    cbExpires->setToolTip(ExpiryLimitText(expiry));

    const PosixChoice shown = details.posix.value_or(PosixChoice{});
    cbPosix->setChecked(details.posix.has_value() && posix == PosixLimit::None);
    cbPosix->setEnabled(posix == PosixLimit::None);
    cbPosix->setToolTip(PosixLimitText(posix));
    ebGid->setText(shown.gidNumber ? QString::number(*shown.gidNumber) : QString());
    ebGid->setPlaceholderText(QStringLiteral("the group's, when it has one"));
    ebHome->setText(QString::fromStdString(shown.homeTemplate));
    ebHome->setToolTip(QStringLiteral("%u stands for the login name."));
    ebShell->setText(QString::fromStdString(shown.loginShell));
    ebUidLow->setText(QString::number(shown.range.low));
    ebUidHigh->setText(QString::number(shown.range.high));
    auto* uidRow = new QHBoxLayout;
    uidRow->addWidget(ebUidLow);
    uidRow->addWidget(new QLabel(QStringLiteral("to"), this));
    uidRow->addWidget(ebUidHigh);
    auto* posixFields = new QFormLayout;
    posixFields->addRow(QStringLiteral("G&ID number"), ebGid);
    posixFields->addRow(QStringLiteral("&Home directory"), ebHome);
    posixFields->addRow(QStringLiteral("Login &shell"), ebShell);
    posixFields->addRow(QStringLiteral("&UID numbers from"), uidRow);
    ebUidLow->setAccessibleName(QStringLiteral("UID numbers from"));
    ebUidHigh->setAccessibleName(QStringLiteral("UID numbers to"));

    auto* filterRow = new QHBoxLayout;
    filterRow->addWidget(lbFilter);
    filterRow->addWidget(ebFilter);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(bbOK);
    buttons->addWidget(bbCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(cbGroup);
    layout->addLayout(filterRow);
    layout->addWidget(lbGroups);
    auto* expiryRow = new QHBoxLayout;
    expiryRow->addWidget(cbExpires);
    expiryRow->addWidget(deExpires);
    layout->addLayout(expiryRow);
    layout->addWidget(cbPosix);
    layout->addLayout(posixFields);
    layout->addLayout(buttons);

    connect(cbGroup, &QCheckBox::toggled, this, &TfAccountDetails::UpdateControls);
    connect(cbExpires, &QCheckBox::toggled, this, &TfAccountDetails::UpdateControls);
    connect(cbPosix, &QCheckBox::toggled, this, &TfAccountDetails::UpdateControls);
    connect(ebFilter, &QLineEdit::textChanged, this, &TfAccountDetails::Filter);
    connect(bbOK, &QPushButton::clicked, this, &TfAccountDetails::accept);
    connect(bbCancel, &QPushButton::clicked, this, &TfAccountDetails::reject);
    UpdateControls();
}

AccountDetails TfAccountDetails::Details() const {
    AccountDetails details;
    const QListWidgetItem* row = lbGroups->currentItem();
    if (cbGroup->isChecked() && row && !row->isHidden())
        details.group = groups_[static_cast<std::size_t>(row->data(kGroupIndexRole).toInt())];
    // The users may log in to the end of the chosen day: they expire at the start of the next.
    if (cbExpires->isChecked())
        details.expiresAt = deExpires->date().addDays(1).startOfDay().toSecsSinceEpoch();
    if (cbPosix->isChecked())
        details.posix = Posix();
    return details;
}

PosixChoice TfAccountDetails::Posix() const {
    PosixChoice posix;
    posix.gidNumber = FieldNumber(ebGid);
    posix.homeTemplate = ebHome->text().trimmed().toStdString();
    posix.loginShell = ebShell->text().trimmed().toStdString();
    posix.range = {FieldNumber(ebUidLow).value_or(0), FieldNumber(ebUidHigh).value_or(0)};
    return posix;
}

void TfAccountDetails::accept() {
    if (cbGroup->isChecked() && !Details().group) {
        ShowMessageBox(QStringLiteral("Select the group the users join, or uncheck \"Group the users join\"."));
        return;
    }
    if (cbExpires->isChecked() && deExpires->date() < QDate::currentDate()) {
        ShowMessageBox(QStringLiteral("The accounts' last day lies in the past. Please choose today or a later day."));
        return;
    }
    if (cbPosix->isChecked()) {
        if (!ebGid->text().trimmed().isEmpty() && !FieldNumber(ebGid)) {
            ShowMessageBox(QStringLiteral("The GID number must be a number, or left empty to take the group's."));
            return;
        }
        if (const auto refusal = PosixChoiceRefusal(Details())) {
            ShowMessageBox(QString::fromStdString(*refusal));
            return;
        }
    }
    QDialog::accept();
}

void TfAccountDetails::Filter() {
    const QString text = ebFilter->text();
    for (int i = 0; i < lbGroups->count(); ++i)
        lbGroups->item(i)->setHidden(!lbGroups->item(i)->text().contains(text, Qt::CaseInsensitive));
}

void TfAccountDetails::UpdateControls() {
    for (QWidget* widget : {static_cast<QWidget*>(ebFilter), static_cast<QWidget*>(lbGroups)})
        widget->setEnabled(cbGroup->isChecked());
    // Where expiry needs a Linux login, it goes with the Linux login.
    const bool expiryAllowed = ExpiryAllowed(expiryLimit_, cbPosix->isChecked());
    cbExpires->setEnabled(expiryAllowed);
    if (!expiryAllowed)
        cbExpires->setChecked(false);
    deExpires->setEnabled(cbExpires->isChecked());
    for (QLineEdit* field : {ebGid, ebHome, ebShell, ebUidLow, ebUidHigh})
        field->setEnabled(cbPosix->isChecked());
}
