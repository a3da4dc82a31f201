#include "WindowTest.h"

#include "client/BoundClient.h"
#include "directory/SharedContext.h"
#include "ui/AccountDetailsDialog.h"
#include "ui/BusyCursor.h"
#include "ui/MessageBoxSeam.h"
#include "ui/PasswordsDialog.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTimer>
#include <QTreeWidget>

QString AccessibleName(QObject* object) {
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(object);
    return accessible ? accessible->text(QAccessible::Name) : QString();
}

QTreeWidgetItem* NodeAt(const QTreeWidget& tree, const QStringList& path) {
    QTreeWidgetItem* node = tree.topLevelItem(0);
    for (const QString& text : path) {
        QTreeWidgetItem* next = nullptr;
        for (int i = 0; node && i < node->childCount() && !next; ++i) {
            if (node->child(i)->text(0) == text)
                next = node->child(i);
        }
        node = next;
    }
    return node;
}

void WindowTest::OpenWindow(std::unique_ptr<DirectoryClient> client) {
    // A window that goes takes its view of the directory layer with it: the old one goes first.
    form_.reset();
    ResetDirectoryState();
    SavedCursor = crDefault;
    SetApplicationCursor(crDefault);
    BindClient(std::move(client));
    SetMessageBoxHandler([this](const QString& text) {
        messages_ << text;
        if (onMessage_)
            onMessage_(text);
    });
    form_ = std::make_unique<TfMain>();
}

void WindowTest::TearDown() {
    form_.reset();
    SetMessageBoxHandler({});
    if (HasBoundClient())
        UnbindClient();
    ResetDirectoryState();
    SetApplicationCursor(crDefault);
}

void WindowTest::Scan() {
    form_->ScanNDS1->trigger();
}

QTreeWidgetItem* WindowTest::Node(const QStringList& path) const {
    return NodeAt(*form_->tvNDSView, path);
}

void WindowTest::PrepareRun(const QStringList& path, const QString& loginName, const QString& lastName,
                            const QString& count, const QString& index, const QString& digits) {
    QTreeWidgetItem* node = Node(path);
    ASSERT_NE(node, nullptr);
    form_->tvNDSView->setCurrentItem(node);
    form_->ebLoginName->setText(loginName);
    form_->ebLastName->setText(lastName);
    form_->ebToCreate->setText(count);
    form_->ebNumber->setText(index);
    form_->ebFixed->setText(digits);
}

void WindowTest::ChoosePasswords(const std::function<void(TfPasswords&)>& choose) {
    QTimer::singleShot(0, form_.get(), [&] {
        auto* dialog = qobject_cast<TfPasswords*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        choose(*dialog);
        dialog->bbOK->click();
    });
    form_->Passwords1->trigger();
}

void WindowTest::ChooseOnePassword(const QString& password, bool mustChange) {
    ChoosePasswords([&](TfPasswords& dialog) {
        dialog.rbOnePassword->setChecked(true);
        dialog.ebPassword->setText(password);
        dialog.ebRepeatPassword->setText(password);
        dialog.cbMustChange->setChecked(mustChange);
    });
}

void WindowTest::ChooseRandomPasswords(int length, bool mustChange) {
    ChoosePasswords([&](TfPasswords& dialog) {
        dialog.rbRandomPassword->setChecked(true);
        dialog.seLength->setValue(length);
        dialog.cbMustChange->setChecked(mustChange);
    });
}

void WindowTest::ChooseAccountDetails(const std::function<void(TfAccountDetails&)>& choose) {
    QTimer::singleShot(0, form_.get(), [&] {
        auto* dialog = qobject_cast<TfAccountDetails*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        choose(*dialog);
        if (dialog->isVisible())
            dialog->reject();
    });
    form_->AccountDetails1->trigger();
}

void WindowTest::ChooseGroup(const std::string& name) {
    ChooseAccountDetails([&](TfAccountDetails& dialog) {
        dialog.cbGroup->setChecked(true);
        for (int i = 0; i < dialog.lbGroups->count(); ++i) {
            if (dialog.lbGroups->item(i)->toolTip() == QString::fromStdString(name))
                dialog.lbGroups->setCurrentRow(i);
        }
        dialog.bbOK->click();
    });
}
