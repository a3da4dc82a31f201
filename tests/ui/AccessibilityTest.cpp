#include "UiFixture.h"

#include "ui/AppTitle.h"
#include "ui/StatusBar.h"

#include <QAccessible>
#include <QApplication>
#include <QGroupBox>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QSet>
#include <QTest>
#include <QTreeWidget>

namespace {

// Every name in the accessible tree below `node`, as a screen reader walks it.
void CollectNames(QAccessibleInterface* node, QStringList* names, int depth = 0) {
    if (!node || depth > 12)
        return;
    *names << node->text(QAccessible::Name);
    for (int i = 0; i < node->childCount(); ++i)
        CollectNames(node->child(i), names, depth + 1);
}

} // namespace

class AccessibilityTest : public UiTest {
protected:
    void SetUp() override { StartWindow(AcmeTree()); }

    // Each label with the field it names.
    std::vector<std::pair<QLabel*, QLineEdit*>> LabelledFields() const {
        return {{form_->Label3, form_->ebLoginName},
                {form_->Label4, form_->ebLastName},
                {form_->Label5, form_->ebToCreate},
                {form_->Label1, form_->ebNumber},
                {form_->Label2, form_->ebFixed}};
    }
};

TEST_F(AccessibilityTest, ControlsAreReadByTheWordsOnScreen) {
    EXPECT_EQ(AccessibleName(form_.get()), QStringLiteral("Corvan's Quillbarrow"));
    const std::pair<QWidget*, const char*> fields[] = {
        {form_->ebLoginName, "Login name"},          {form_->ebLastName, "Last name"},
        {form_->ebToCreate, "# of users to create"}, {form_->ebNumber, "Starting at index"},
        {form_->ebFixed, "# of fixed digits"},
    };
    for (const auto& [field, name] : fields)
        EXPECT_EQ(AccessibleName(field), QLatin1String(name)) << field->objectName().toStdString();
    EXPECT_EQ(AccessibleName(form_->tvNDSView), QStringLiteral("Directory tree"));
    EXPECT_EQ(AccessibleName(form_->pbProgress), QStringLiteral("Progress"));
    EXPECT_EQ(AccessibleName(form_->bbCreate), QStringLiteral("Create User(s)"));
    EXPECT_EQ(AccessibleName(form_->GroupBox1), QStringLiteral("Enter user attributes "));
    // Only the controls no visible text names carry a name of their own.
    for (QWidget* widget : form_->findChildren<QWidget*>()) {
        if (widget != form_->tvNDSView && widget != form_->pbProgress) {
            EXPECT_TRUE(widget->accessibleName().isEmpty()) << widget->objectName().toStdString();
        }
    }
    // Tests and automation still find every control by its own name.
    for (const char* name : {"tvNDSView", "MainMenu1", "sbStatus", "GroupBox1", "Label3", "Label4", "Label5",
                             "bbCreate", "ebLoginName", "ebLastName", "ebToCreate", "pbProgress", "Label1", "ebNumber",
                             "Label2", "ebFixed", "File1", "Tools1", "Help1"})
        EXPECT_NE(form_->findChild<QObject*>(QLatin1String(name)), nullptr) << name;
}

TEST_F(AccessibilityTest, NoControlIsReadByItsInternalName) {
    form_->show();
    Scan();
    QSet<QString> internal{form_->objectName()};
    for (const QObject* object : form_->findChildren<QObject*>()) {
        if (!object->objectName().isEmpty())
            internal << object->objectName();
    }
    ASSERT_TRUE(internal.contains(QStringLiteral("ebLoginName")));

    QStringList names;
    CollectNames(QAccessible::queryAccessibleInterface(form_.get()), &names);
    for (QWidget* widget : form_->findChildren<QWidget*>())
        names << AccessibleName(widget);
    EXPECT_GT(names.size(), 20);
    for (const QString& name : names)
        EXPECT_FALSE(internal.contains(name)) << name.toStdString();
}

TEST_F(AccessibilityTest, StatusPanelsAreReadAsTheyChange) {
    TStatusBar* bar = form_->sbStatus;
    EXPECT_EQ(AccessibleName(bar->PanelLabel(0)), QStringLiteral("Press F4 to scan the NDS"));
    EXPECT_TRUE(AccessibleName(bar->PanelLabel(3)).startsWith(QStringLiteral("Logged in as: ")));
    Scan();
    // Acme, Sales, East and the two other objects of Sales.
    EXPECT_EQ(AccessibleName(bar->PanelLabel(0)), QStringLiteral("Objects detected: 5"));
    EXPECT_EQ(AccessibleName(bar->PanelLabel(1)), QStringLiteral("Containers found: 3"));
}

TEST_F(AccessibilityTest, AltWithALabelsLetterMovesToItsField) {
    form_->show();
    form_->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form_.get()));
    // Access keys are unique on the window: none repeats another label's or a menu's.
    QSet<QKeyCombination> keys;
    for (QMenu* menu : {form_->File1, form_->Tools1, form_->Help1})
        keys << QKeySequence::mnemonic(menu->title())[0];
    for (const auto& [label, field] : LabelledFields()) {
        const QKeySequence mnemonic = QKeySequence::mnemonic(label->text());
        ASSERT_FALSE(mnemonic.isEmpty()) << label->objectName().toStdString();
        EXPECT_FALSE(keys.contains(mnemonic[0])) << label->text().toStdString();
        keys << mnemonic[0];
        EXPECT_EQ(label->buddy(), field);
    }
    // Backwards, so no field is reached by the tab order by chance.
    auto fields = LabelledFields();
    for (auto it = fields.rbegin(); it != fields.rend(); ++it) {
        const auto& [label, field] = *it;
        const Qt::Key key = QKeySequence::mnemonic(label->text())[0].key();
        QTest::keyClick(form_.get(), key, Qt::AltModifier);
        EXPECT_EQ(QApplication::focusWidget(), field) << label->text().toStdString();
    }
}
