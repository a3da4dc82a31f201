#include "WindowTest.h"

#include "BoundClient.h"
#include "BusyCursor.h"
#include "MessageBoxSeam.h"
#include "SharedContext.h"

#include <QAccessible>
#include <QAction>
#include <QLineEdit>
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
