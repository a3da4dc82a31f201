#include "UiFixture.h"

#include "directory/GetIdentityName.h"
#include "directory/SharedContext.h"
#include "ui/AppTitle.h"
#include "ui/BusyCursor.h"
#include "ui/ImageList.h"
#include "ui/MessageBoxSeam.h"
#include "ui/NumberText.h"
#include "ui/StatusBar.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <cstdlib>
#include <initializer_list>
#include <memory>
#include <utility>

class MainWindowTest : public UiTest {
protected:
    void SetUp() override { StartWindow(AcmeTree()); }
};

TEST_F(MainWindowTest, ControlsCarryTheirNamesAndTexts) {
    EXPECT_EQ(form_->windowTitle(), FormCaption());
    const std::pair<QWidget*, const char*> named[] = {
        {form_->tvNDSView, "tvNDSView"},     {form_->GroupBox1, "GroupBox1"},   {form_->Label3, "Label3"},
        {form_->ebLoginName, "ebLoginName"}, {form_->Label4, "Label4"},         {form_->ebLastName, "ebLastName"},
        {form_->Label5, "Label5"},           {form_->ebToCreate, "ebToCreate"}, {form_->Label1, "Label1"},
        {form_->ebNumber, "ebNumber"},       {form_->Label2, "Label2"},         {form_->ebFixed, "ebFixed"},
        {form_->bbCreate, "bbCreate"},
    };
    for (const auto& [widget, name] : named)
        EXPECT_EQ(widget->objectName(), QLatin1String(name));
    EXPECT_EQ(form_->tvNDSView->indentation(), 19);
    EXPECT_EQ(form_->GroupBox1->title(), QStringLiteral("Enter user attributes "));
    // The labels read as drawn; the "&" only underlines their access key.
    const std::pair<QLabel*, const char*> labels[] = {
        {form_->Label3, "Login name"},           {form_->Label4, "Last name"},
        {form_->Label5, "# of users to create"}, {form_->Label1, "Starting at index"},
        {form_->Label2, "# of fixed digits"},
    };
    for (const auto& [label, text] : labels)
        EXPECT_EQ(QString(label->text()).remove(QLatin1Char('&')), QLatin1String(text));
    EXPECT_EQ(form_->bbCreate->text(), QStringLiteral("Create User(s)"));
    EXPECT_FALSE(form_->bbCreate->icon().pixmap(16, 16).isNull());
    for (int image = 0; image < TImageList::kCount; ++image) {
        const QIcon& icon = form_->imIcons->Icon(image);
        EXPECT_FALSE(icon.pixmap(16, 16).isNull()) << image;
        // A selected node shows the same picture.
        EXPECT_EQ(icon.pixmap(16, 16, QIcon::Selected).toImage(), icon.pixmap(16, 16).toImage()) << image;
    }
    EXPECT_EQ(form_->ebNumber->text(), QStringLiteral("1"));
    EXPECT_EQ(form_->ebFixed->text(), QStringLiteral("4"));
    EXPECT_TRUE(form_->ebLoginName->text().isEmpty());
    EXPECT_FALSE(form_->bbCreate->isEnabled());
    EXPECT_EQ(form_->pbProgress->parentWidget(), form_->sbStatus);
    EXPECT_EQ(form_->pbProgress->minimum(), 0);
    EXPECT_EQ(form_->pbProgress->maximum(), 100);
    EXPECT_EQ(form_->ScanNDS1->shortcut(), QKeySequence(Qt::Key_F4));
    EXPECT_EQ(form_->ScanNDS1->text(), QStringLiteral("&Scan NDS"));
    EXPECT_EQ(form_->Exit1->text(), QStringLiteral("E&xit"));
    EXPECT_EQ(form_->About1->text(), QStringLiteral("&About"));
    EXPECT_EQ(form_->File1->title(), QStringLiteral("&File"));
}

TEST_F(MainWindowTest, EveryFieldSitsUnderItsLabelAndNothingIsCutOff) {
    form_->show();
    QWidget* client = form_->centralWidget();
    const auto placed = [client](QWidget* widget) {
        return QRect(widget->mapTo(client, QPoint(0, 0)), widget->size());
    };
    // At the size the window opens with, every control shows whole; the tree is left of the fields.
    for (QWidget* widget : std::initializer_list<QWidget*>{form_->tvNDSView, form_->GroupBox1, form_->bbCreate})
        EXPECT_TRUE(client->rect().contains(placed(widget))) << widget->objectName().toStdString();
    EXPECT_LT(placed(form_->tvNDSView).right(), placed(form_->GroupBox1).left());

    // Top to bottom in the order of the tab chain: each label right above its field, whole, and
    // naming the field it stands for; the button below them all.
    const std::pair<QLabel*, QLineEdit*> rows[] = {{form_->Label3, form_->ebLoginName},
                                                   {form_->Label4, form_->ebLastName},
                                                   {form_->Label5, form_->ebToCreate},
                                                   {form_->Label1, form_->ebNumber},
                                                   {form_->Label2, form_->ebFixed}};
    const QRect inside = form_->GroupBox1->contentsRect();
    int above = inside.top();
    for (const auto& [label, field] : rows) {
        const std::string name = field->objectName().toStdString();
        EXPECT_EQ(label->buddy(), field) << name;
        EXPECT_GE(label->y(), above) << name;
        EXPECT_LE(label->geometry().bottom(), field->y()) << name;
        EXPECT_LE(field->y() - label->geometry().bottom(), 8) << name;
        EXPECT_LE(std::abs(label->x() - field->x()), 10) << name;
        EXPECT_GE(label->width(), label->sizeHint().width()) << name;
        EXPECT_TRUE(inside.contains(label->geometry()) && inside.contains(field->geometry())) << name;
        above = field->geometry().bottom();
    }
    EXPECT_GT(form_->bbCreate->y(), above);
    EXPECT_TRUE(inside.contains(form_->bbCreate->geometry()));
    // The longest count and the digit show whole; the button's picture and text fit it.
    EXPECT_GT(form_->ebToCreate->contentsRect().width(),
              form_->ebToCreate->fontMetrics().horizontalAdvance(QStringLiteral("9999")));
    EXPECT_GT(form_->ebFixed->contentsRect().width(),
              form_->ebFixed->fontMetrics().horizontalAdvance(QStringLiteral("9")));
    EXPECT_LT(form_->bbCreate->fontMetrics().horizontalAdvance(form_->bbCreate->text()) +
                  form_->bbCreate->iconSize().width(),
              form_->bbCreate->width());
}

TEST_F(MainWindowTest, TabOrderFollowsTheTable) {
    QWidget* expected[] = {form_->tvNDSView, form_->ebLoginName, form_->ebLastName, form_->ebToCreate,
                           form_->ebNumber,  form_->ebFixed,     form_->bbCreate};
    for (std::size_t i = 0; i + 1 < std::size(expected); ++i) {
        QWidget* next = expected[i]->nextInFocusChain();
        while (next->focusPolicy() == Qt::NoFocus || !(next->focusPolicy() & Qt::TabFocus))
            next = next->nextInFocusChain();
        EXPECT_EQ(next, expected[i + 1]) << i;
    }
}

TEST_F(MainWindowTest, StatusPanelsReadTheirTextsInOrder) {
    TStatusBar* bar = form_->sbStatus;
    EXPECT_EQ(bar->PanelText(0), QStringLiteral("Press F4 to scan the NDS"));
    EXPECT_EQ(bar->PanelText(1), QString());
    EXPECT_EQ(bar->PanelText(3),
              QStringLiteral("Logged in as: ") + QString::fromStdString(GetIdentityName(DirContext)));
    EXPECT_NE(bar->PanelText(3), QStringLiteral("Logged in as: "));
    EXPECT_EQ(AccessibleName(bar->PanelLabel(0)), bar->PanelText(0));
    EXPECT_EQ(AccessibleName(bar->PanelLabel(3)), bar->PanelText(3));
    EXPECT_TRUE(bar->isSizeGripEnabled());
    const auto labels = bar->findChildren<QLabel*>(QString(), Qt::FindDirectChildrenOnly);
    ASSERT_EQ(labels.size(), 3);
    EXPECT_EQ(labels[0], bar->PanelLabel(0));
    EXPECT_EQ(labels[1], bar->PanelLabel(1));
    EXPECT_EQ(labels[2], bar->PanelLabel(3));
    EXPECT_EQ(bar->PanelRect(0).x(), 0);
    EXPECT_EQ(bar->PanelRect(1).x(), 150);
    EXPECT_EQ(bar->PanelRect(2).x(), 300);
    EXPECT_EQ(bar->PanelRect(3).x(), 404);
}

TEST_F(MainWindowTest, ResizingKeepsTheAnchorsAndTheProgressBarOnPanelTwo) {
    form_->show();
    QCoreApplication::processEvents();
    const QSize start = form_->size();
    const QRect tree = form_->tvNDSView->geometry();
    const QRect group = form_->GroupBox1->geometry();
    const int rightGap = form_->centralWidget()->width() - group.right();
    for (const QSize size : {QSize(900, 600), QSize(700, 420), QSize(300, 200), start}) {
        form_->resize(size);
        QCoreApplication::processEvents();
        const QSize grown = size - start;
        EXPECT_EQ(form_->tvNDSView->pos(), tree.topLeft());
        EXPECT_EQ(form_->tvNDSView->width(), qMax(240, tree.width() + grown.width())) << size.width();
        EXPECT_EQ(form_->tvNDSView->height(), qMax(170, tree.height() + grown.height())) << size.height();
        EXPECT_EQ(form_->GroupBox1->size(), group.size());
        EXPECT_EQ(form_->GroupBox1->y(), group.y());
        EXPECT_EQ(form_->centralWidget()->width() - form_->GroupBox1->geometry().right(), rightGap);
        EXPECT_EQ(form_->sbStatus->width(), form_->width());
        EXPECT_EQ(form_->sbStatus->height(), TStatusBar::kHeight);
        EXPECT_EQ(form_->pbProgress->geometry(), form_->sbStatus->PanelRect(2));
        if (size.width() > 404) {
            EXPECT_EQ(form_->sbStatus->PanelRect(3).right(), form_->sbStatus->width() - 1);
        }
    }
}

TEST_F(MainWindowTest, LengthLimitsHoldForTypingAndPasting) {
    form_->show();
    form_->ebToCreate->setFocus();
    QTest::keyClicks(form_->ebToCreate, QStringLiteral("123456"));
    EXPECT_EQ(form_->ebToCreate->text(), QStringLiteral("1234"));
    form_->ebFixed->clear();
    QApplication::clipboard()->setText(QStringLiteral("987"));
    form_->ebFixed->paste();
    EXPECT_EQ(form_->ebFixed->text(), QStringLiteral("9"));
    form_->ebToCreate->clear();
    form_->ebToCreate->paste();
    form_->ebToCreate->paste();
    EXPECT_EQ(form_->ebToCreate->text(), QStringLiteral("9879"));
}

TEST_F(MainWindowTest, CreateRuleFollowsTheThreeFieldsOnceScanned) {
    form_->ebLoginName->setText(QStringLiteral("stud"));
    form_->ebLastName->setText(QStringLiteral(" "));
    form_->ebToCreate->setText(QStringLiteral("3"));
    EXPECT_FALSE(form_->bbCreate->isEnabled()); // no scan yet
    Scan();
    EXPECT_TRUE(form_->bbCreate->isEnabled()); // a blank counts as filled
    for (QLineEdit* field : {form_->ebLoginName, form_->ebLastName, form_->ebToCreate}) {
        const QString kept = field->text();
        field->clear();
        EXPECT_FALSE(form_->bbCreate->isEnabled()) << field->objectName().toStdString();
        field->setText(kept);
        EXPECT_TRUE(form_->bbCreate->isEnabled());
    }
    // ebNumber runs the rule though it does not enter it; ebFixed does not run it.
    TreeScanned = false;
    form_->ebFixed->setText(QStringLiteral("2"));
    EXPECT_TRUE(form_->bbCreate->isEnabled());
    form_->ebNumber->setText(QStringLiteral("abc"));
    EXPECT_FALSE(form_->bbCreate->isEnabled());
}

TEST_F(MainWindowTest, AboutShowsTheVersionInTheLocalesFormat) {
    form_->About1->trigger();
    ASSERT_EQ(messages_.size(), 1);
    EXPECT_TRUE(messages_[0].startsWith(QStringLiteral("Corvan's Quillbarrow (KVIL):\r\r\nVersion: 0.97\r\r\n")));
    EXPECT_EQ(messages_[0].count(QStringLiteral("\r\n")), 2 + 7);

    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(GeneralNumberText(ProgramVersion), QStringLiteral("0,97"));
    QLocale::setDefault(saved);
    EXPECT_EQ(GeneralNumberText(1234567.5), QStringLiteral("1234567.5"));
    EXPECT_EQ(GeneralNumberText(0.1 + 0.2), QStringLiteral("0.3"));
}

TEST_F(MainWindowTest, BusyCursorHasNoNestingCount) {
    SetApplicationCursor(-3);
    BeginBusyCursor();
    EXPECT_EQ(ApplicationCursor(), crHourGlass);
    BeginBusyCursor();
    EndBusyCursor();
    EXPECT_EQ(ApplicationCursor(), -3);
    // Qt's override stack never holds more than the one setting.
    QGuiApplication::restoreOverrideCursor();
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);

    SetApplicationCursor(crDefault);
    BeginBusyCursor();
    EndBusyCursor();
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST_F(MainWindowTest, ExitReleasesTheSharedContext) {
    const NWDSContextHandle shared = DirContext;
    ASSERT_NE(shared, 0u);
    form_->show();
    form_->Exit1->trigger();
    EXPECT_FALSE(form_->isVisible());
    EXPECT_EQ(DirContext, 0u);
    EXPECT_EQ(recorder_->UsesAfterRelease(shared).size(), 0u);
}

TEST_F(MainWindowTest, TheCloseButtonReleasesTheSharedContextToo) {
    form_->show();
    ASSERT_NE(DirContext, 0u);
    // What the title bar's close button sends.
    QCloseEvent event;
    QCoreApplication::sendEvent(form_.get(), &event);
    EXPECT_TRUE(event.isAccepted());
    EXPECT_EQ(DirContext, 0u);
}

TEST_F(MainWindowTest, RealMessageBoxIsModalWithTitleOkAndLineBreaks) {
    SetMessageBoxHandler({});
    QString title;
    QString accessibleName;
    QString text;
    int buttons = 0;
    QMessageBox::Icon icon = QMessageBox::Warning;
    bool modal = false;
    QTimer::singleShot(0, form_.get(), [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        title = box->windowTitle();
        accessibleName = AccessibleName(box);
        text = box->text();
        buttons = static_cast<int>(box->buttons().size());
        icon = box->icon();
        modal = box->isModal();
        box->button(QMessageBox::Ok)->click();
    });
    ShowMessageBox(QStringLiteral("first\r\nsecond\r\r\nthird"));
    EXPECT_EQ(title, ApplicationTitle());
    EXPECT_EQ(accessibleName, ApplicationTitle());
    EXPECT_EQ(text, QStringLiteral("first\nsecond\n\nthird"));
    EXPECT_EQ(buttons, 1);
    EXPECT_EQ(icon, QMessageBox::NoIcon);
    EXPECT_TRUE(modal);
}
