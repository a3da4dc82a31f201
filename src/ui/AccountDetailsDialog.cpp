#include "ui/AccountDetailsDialog.h"

#include "ui/MessageBoxSeam.h"

#include <QCheckBox>
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
} // namespace

TfAccountDetails::TfAccountDetails(const AccountDetails& details, std::vector<DirectoryGroup> groups,
                                   const QString& listError, QWidget* parent)
    : QDialog(parent), groups_(std::move(groups)) {
    setObjectName(QStringLiteral("fAccountDetails"));
    setWindowTitle(QStringLiteral("Account details"));
    setModal(true);

    cbGroup = Named(new QCheckBox(QStringLiteral("&Group the users join"), this), "cbGroup");
    lbFilter = Named(new QLabel(QStringLiteral("&Find"), this), "lbFilter");
    ebFilter = Named(new QLineEdit(this), "ebFilter");
    lbGroups = Named(new QListWidget(this), "lbGroups");
    lbGroups->setAccessibleName(QStringLiteral("Groups"));
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
    layout->addLayout(buttons);

    connect(cbGroup, &QCheckBox::toggled, this, &TfAccountDetails::UpdateControls);
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
    return details;
}

void TfAccountDetails::accept() {
    if (cbGroup->isChecked() && !Details().group) {
        ShowMessageBox(QStringLiteral("Select the group the users join, or uncheck \"Group the users join\"."));
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
}
