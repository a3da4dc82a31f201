#include "UiFixture.h"

#include "BoundClient.h"
#include "BusyCursor.h"
#include "MessageBoxSeam.h"
#include "SharedContext.h"
#include "TreeNodes.h"

#include <QAccessible>
#include <QAction>
#include <QLineEdit>
#include <QTreeWidget>

QString AccessibleName(QObject* object) {
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(object);
    return accessible ? accessible->text(QAccessible::Name) : QString();
}

std::vector<FixtureEntry> AcmeTree() {
    return {
        {"Acme", "Organization"},    {"Sales.Acme", "Organizational Unit"}, {"East.Sales.Acme", "Organizational Unit"},
        {"jdoe.Sales.Acme", "User"}, {"laser.Sales.Acme", "Printer"},
    };
}

void UiTest::StartWindow(const std::vector<FixtureEntry>& entries, bool anonymous) {
    ASSERT_TRUE(dir_.isValid());
    qputenv("XDG_DATA_HOME", dir_.path().toLocal8Bit());
    ResetDirectoryState();
    SavedCursor = crDefault;
    SetApplicationCursor(crDefault);

    EmbeddedOptions options;
    options.path = (dir_.path() + QStringLiteral("/directory.db")).toStdString();
    options.anonymous = anonymous;
    options.sample = false;
    store_ = std::make_unique<EmbeddedClient>(options);
    ASSERT_EQ(store_->StartClientLibrary(nullptr, nullptr), 0);
    for (const FixtureEntry& entry : entries) {
        const std::optional<std::string> surname =
            entry.baseClass == "User" ? std::optional<std::string>("Fixture") : std::nullopt;
        ASSERT_EQ(store_->AddEntry(entry.name, entry.baseClass, surname), 0) << entry.name;
    }
    auto recorder = std::make_unique<SpyClient>(*store_);
    recorder_ = recorder.get();
    BindClient(std::move(recorder));

    SetMessageBoxHandler([this](const QString& text) {
        messages_ << text;
        if (onMessage_)
            onMessage_(text);
    });
    form_ = std::make_unique<TfMain>();
}

void UiTest::TearDown() {
    form_.reset();
    SetMessageBoxHandler({});
    if (HasBoundClient())
        UnbindClient();
    store_.reset();
    ResetDirectoryState();
    SetApplicationCursor(crDefault);
}

void UiTest::Scan() {
    form_->ScanNDS1->trigger();
}

QTreeWidgetItem* UiTest::Node(const QStringList& path) const {
    return NodeAt(*form_->tvNDSView, path);
}

void UiTest::PrepareRun(const QStringList& path, const QString& loginName, const QString& lastName,
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

std::vector<std::string> UiTest::Children(const std::string& dottedName) {
    return store_->Children(dottedName).value_or(std::vector<std::string>{});
}
