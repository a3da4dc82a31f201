#include "ui/AccountDetailsDialog.h"

#include "ui/MessageBoxSeam.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QDateTime>
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
} // namespace

TfAccountDetails::TfAccountDetails(const AccountDetails& details, std::vector<DirectoryGroup> groups,
                                   const QString& listError, QWidget* parent, ExpiryLimit expiry)
    : QDialog(parent), groups_(std::move(groups)) {
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
    cbExpires->setChecked(details.expiresAt.has_value() && expiry == ExpiryLimit::None);
    cbExpires->setEnabled(expiry == ExpiryLimit::None);
    cbExpires->setToolTip(ExpiryLimitText(expiry));

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
    layout->addLayout(buttons);

    connect(cbGroup, &QCheckBox::toggled, this, &TfAccountDetails::UpdateControls);
    connect(cbExpires, &QCheckBox::toggled, this, &TfAccountDetails::UpdateControls);
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
    return details;
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
    deExpires->setEnabled(cbExpires->isChecked());
}
