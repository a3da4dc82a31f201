#include "UiFixture.h"

#include "client/SchemaNames.h"
#include "client/embedded/SqliteHandles.h"
#include "directory/SharedContext.h"
#include "ui/AccountDetailsDialog.h"
#include "ui/BusyCursor.h"
#include "ui/NumberText.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QDateTime>
#include <QEvent>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTextDocument>
#include <QTreeWidget>

namespace {

const QStringList kSales{QStringLiteral("Acme"), QStringLiteral("Sales")};

QString Created(int count) {
    return QString::number(count) + QStringLiteral(" users succesfully created.");
}

const QString kCountMessage = QStringLiteral(
    "\"# of users to create\" must be a number between 0 and 9999.\r\nPlease verify this field and try again.");
const QString kIndexMessage =
    QStringLiteral("\"Starting at index\" must be a number. Please verify this field and try again.");
const QString kDigitsMessage =
    QStringLiteral("\"# of fixed digits\" must be a number between 0 and 9. Please verify this field and try again.");

// Remembers the value the progress bar showed when it was last painted.
class PaintedValue final : public QObject {
public:
    explicit PaintedValue(QProgressBar* bar) : bar_(bar) { bar->installEventFilter(this); }
    int value = -1;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            value = bar_->value();
        return false;
    }

private:
    QProgressBar* bar_;
};

} // namespace

TEST(NumberFieldTest, ReadsTheFieldTextLikeTheRuntimeAndNoCharacterBeyondLatin1) {
    struct Case {
        QString text;
        bool number;
        qint32 value;
    };
    for (const Case& c : {Case{QStringLiteral(" 12"), true, 12}, Case{QStringLiteral("$A"), true, 10},
                          Case{QStringLiteral("-2147483648"), true, INT32_MIN}, Case{QStringLiteral("12 "), false, 0},
                          Case{QString(), false, 0}, Case{QStringLiteral("\u0661"), false, 0}, // Arabic-Indic one
                          Case{QStringLiteral("1\u00A0"), false, 0}}) {
        qint32 value = 0;
        EXPECT_EQ(StrToIntStrict(c.text, &value), c.number) << c.text.toStdString();
        EXPECT_EQ(value, c.value) << c.text.toStdString();
    }
}

class CreationRunTest : public UiTest {
protected:
    void SetUp() override {
        StartWindow(AcmeTree());
        Scan();
        messages_.clear();
    }
};

TEST_F(CreationRunTest, CreatesTheRunInTheSelectedContainer) {
    PrepareRun(kSales, QStringLiteral("stud"), QStringLiteral("Student"), QStringLiteral("3"));
    SetApplicationCursor(-3);
    form_->bbCreateClick();

    EXPECT_EQ(messages_, QStringList{Created(3)});
    EXPECT_EQ(Children("Sales.Acme"),
              (std::vector<std::string>{"East", "jdoe", "laser", "stud0001", "stud0002", "stud0003"}));
    EXPECT_EQ(view_.Surname("stud0002.Sales.Acme"), std::optional<std::string>("Student"));
    EXPECT_EQ(recorder_->NameContextsSet(DirContext).back(), "Sales.Acme");
    EXPECT_EQ(form_->pbProgress->value(), 0);
    EXPECT_EQ(form_->pbProgress->maximum(), 3);
    EXPECT_EQ(ApplicationCursor(), -3);
}

TEST_F(CreationRunTest, StopsAtTheFirstFailureAndReportsHowManyWereCreated) {
    ASSERT_EQ(AddEntry("stud0003.Sales.Acme", "User", std::string("Taken")), 0);
    PrepareRun(kSales, QStringLiteral("stud"), QStringLiteral("Student"), QStringLiteral("5"));
    PaintedValue painted(form_->pbProgress);
    form_->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form_.get()));
    std::vector<int> paintedAtBox;
    onMessage_ = [&](const QString&) { paintedAtBox.push_back(painted.value); };
    form_->bbCreateClick();

    ASSERT_EQ(messages_.size(), 2);
    EXPECT_TRUE(messages_[0].startsWith(QStringLiteral("Error Code ")));
    EXPECT_TRUE(messages_[0].endsWith(QStringLiteral(" - Trying to create userobject with NWDSAddObject")));
    EXPECT_EQ(messages_[1],
              QStringLiteral("An NDS-error was encountered, aborting creation process. \r\n") + Created(2));
    // The advance to 2 was on screen before the first box came up.
    EXPECT_EQ(paintedAtBox.front(), 2);
    const auto children = Children("Sales.Acme");
    EXPECT_EQ(std::count(children.begin(), children.end(), "stud0001"), 1);
    EXPECT_EQ(std::count(children.begin(), children.end(), "stud0002"), 1);
    EXPECT_EQ(std::count(children.begin(), children.end(), "stud0004"), 0);
    EXPECT_EQ(view_.Surname("stud0003.Sales.Acme"), std::optional<std::string>("Taken"));
    EXPECT_EQ(form_->pbProgress->value(), 0);
    EXPECT_EQ(ApplicationCursor(), crDefault);
}

// Another program holding the store's write lock from the fourth user on, then a store failing
// after a user's entry is in but before its surname: each run stops there, counts exactly the users
// the store holds, and leaves nothing of the user it stopped at.
TEST_F(CreationRunTest, StoreHeldBusyOrFailingMidRunKeepsTheCountExact) {
    sqlite3* raw = nullptr;
    ASSERT_EQ(sqlite3_open(storePath_.c_str(), &raw), SQLITE_OK);
    const DatabasePtr other(raw);
    const auto exec = [&](const char* sql) { return sqlite3_exec(other.get(), sql, nullptr, nullptr, nullptr); };
    const auto run = [&](const QString& login, const QString& count, const QString& code, int created) {
        messages_.clear();
        PrepareRun(kSales, login, QStringLiteral("Student"), count);
        form_->bbCreateClick();
        EXPECT_EQ(messages_, (QStringList{code + QStringLiteral(" - Trying to create userobject with NWDSAddObject"),
                                          QStringLiteral("An NDS-error was encountered, aborting creation process. "
                                                         "\r\n") +
                                              Created(created)}));
        EXPECT_EQ(form_->CreatedAccounts().size(), static_cast<std::size_t>(created));
    };
    recorder_->beforeAdd = [&](const std::string& name) {
        if (name == "stud0004") {
            EXPECT_EQ(exec("BEGIN IMMEDIATE"), SQLITE_OK);
        }
    };
    run(QStringLiteral("stud"), QStringLiteral("6"), QStringLiteral("Error Code FFFFFD89"), 3);
    recorder_->beforeAdd = {};
    ASSERT_EQ(exec("ROLLBACK"), SQLITE_OK);
    ASSERT_EQ(exec("CREATE TRIGGER failing BEFORE INSERT ON attributes WHEN (SELECT name FROM objects WHERE id = "
                   "NEW.object) = 'next0002' BEGIN SELECT RAISE(ABORT, 'device failed'); END"),
              SQLITE_OK);
    run(QStringLiteral("next"), QStringLiteral("3"), QStringLiteral("Error Code FFFFFD88"), 1);

    EXPECT_EQ(Children("Sales.Acme"),
              (std::vector<std::string>{"East", "jdoe", "laser", "stud0001", "stud0002", "stud0003", "next0001"}));
    EXPECT_EQ(view_.IntegrityCheck(), "ok");
}

// An expiry chosen in Account details goes with each user's add: the last day chosen, the users
// expire at the start of the next. A day in the past is refused in the dialog.
TEST_F(CreationRunTest, UsersExpireAtTheEndOfTheChosenDay) {
    const QDate lastDay = QDate::currentDate().addDays(30);
    ChooseAccountDetails([&](TfAccountDetails& dialog) {
        ASSERT_TRUE(dialog.cbExpires->isEnabled());
        dialog.cbExpires->setChecked(true);
        dialog.deExpires->setDate(QDate::currentDate().addDays(-1));
        dialog.bbOK->click();
        EXPECT_TRUE(dialog.isVisible());
        dialog.deExpires->setDate(lastDay);
        dialog.bbOK->click();
    });
    ASSERT_EQ(messages_.size(), 1);
    ASSERT_TRUE(form_->Details().expiresAt);
    messages_.clear();
    PrepareRun(kSales, QStringLiteral("exp"), QStringLiteral("Student"), QStringLiteral("2"));
    form_->bbCreateClick();

    EXPECT_EQ(messages_, QStringList{Created(2)});
    const std::string expected = std::to_string(lastDay.addDays(1).startOfDay().toSecsSinceEpoch());
    for (const char* user : {"exp0001.Sales.Acme", "exp0002.Sales.Acme"})
        EXPECT_EQ(view_.Attribute(user, kLoginExpirationTimeAttribute), expected) << user;
}

// The run's users join the embedded Group chosen in Account details, across more than one batch:
// its "Member" lines in the store's file hold each user's dotted name once. The preview names it.
TEST_F(CreationRunTest, UsersJoinTheChosenGroupAcrossBatches) {
    ASSERT_EQ(AddEntry("Staff.Acme", kGroupClass), 0);
    ChooseGroup("Staff.Acme");
    PrepareRun(kSales, QStringLiteral("m"), QStringLiteral("Member"), QStringLiteral("105"), QStringLiteral("1"),
               QStringLiteral("3"));
    EXPECT_EQ(form_->bbCreate->accessibleDescription(),
              QStringLiteral("Creates m001 ... m105 in Sales.Acme, joining the group Staff"));
    form_->bbCreateClick();

    EXPECT_EQ(messages_, QStringList{Created(105)});
    QStringList expected;
    for (int i = 1; i <= 105; ++i)
        expected << QStringLiteral("m%1.Sales.Acme").arg(i, 3, 10, QChar(u'0'));
    EXPECT_EQ(QString::fromStdString(view_.Attribute("Staff.Acme", kMemberAttribute).value_or("")).split(u'\n'),
              expected);
}

TEST_F(CreationRunTest, CountInHexadecimalAndCornerCounts) {
    PrepareRun({QStringLiteral("Acme")}, QStringLiteral("hex"), QStringLiteral("H"), QStringLiteral("$A"));
    form_->bbCreateClick();
    EXPECT_EQ(messages_.last(), Created(10));
    EXPECT_EQ(Children("Acme").size(), 1u + 10u);
    EXPECT_EQ(Children("Acme").back(), "hex0010");

    form_->ebToCreate->setText(QStringLiteral("0"));
    form_->bbCreateClick();
    EXPECT_EQ(messages_.last(), Created(0));
    EXPECT_EQ(form_->pbProgress->value(), 0);

    form_->ebLoginName->setText(QStringLiteral("one"));
    form_->ebToCreate->setText(QStringLiteral("1"));
    form_->bbCreateClick();
    EXPECT_EQ(messages_.last(), Created(1));
    EXPECT_EQ(Children("Acme").back(), "one0001");
}

TEST_F(CreationRunTest, IndexTextsWrapAndKeepTheirZerosInFrontOfTheSign) {
    PrepareRun({QStringLiteral("Acme")}, QStringLiteral("w"), QStringLiteral("W"), QStringLiteral("2"),
               QStringLiteral("2147483647"), QStringLiteral("4"));
    form_->bbCreateClick();
    form_->ebNumber->setText(QStringLiteral("-5"));
    form_->ebToCreate->setText(QStringLiteral("1"));
    form_->bbCreateClick();
    form_->ebNumber->setText(QStringLiteral("100"));
    form_->ebFixed->setText(QStringLiteral("2"));
    form_->bbCreateClick();
    form_->ebNumber->setText(QStringLiteral("7"));
    form_->ebFixed->setText(QStringLiteral("0"));
    form_->bbCreateClick();
    EXPECT_EQ(Children("Acme"),
              (std::vector<std::string>{"Sales", "w2147483647", "w-2147483648", "w00-5", "w100", "w7"}));
}

TEST_F(CreationRunTest, BlanksInNamesAreKept) {
    PrepareRun({QStringLiteral("Acme")}, QStringLiteral("a b"), QStringLiteral("  Doe  "), QStringLiteral("1"));
    form_->bbCreateClick();
    EXPECT_EQ(messages_, QStringList{Created(1)});
    EXPECT_EQ(view_.Surname("a b0001.Acme"), std::optional<std::string>("  Doe  "));
}

TEST_F(CreationRunTest, FieldsAreCheckedInOrderAndOnlyTheFirstBadOneIsReported) {
    struct Case {
        const char* count;
        const char* index;
        const char* digits;
        QString message;
    };
    const Case cases[] = {
        {"-5", "1", "4", kCountMessage},  {"-$A", "1", "4", kCountMessage},  {"", "x", "4", kCountMessage},
        {"abc", "x", "y", kCountMessage}, {" 12 ", "1", "4", kCountMessage}, {"3", "1.5", "4", kIndexMessage},
        {"3", "", "y", kIndexMessage},    {"3", "1", "y", kDigitsMessage},   {"3", "1", "", kDigitsMessage},
    };
    PrepareRun(kSales, QStringLiteral("bad"), QStringLiteral("B"), QString());
    for (const Case& c : cases) {
        messages_.clear();
        form_->ebToCreate->setText(QLatin1String(c.count));
        form_->ebNumber->setText(QLatin1String(c.index));
        form_->ebFixed->setText(QLatin1String(c.digits));
        SetApplicationCursor(crDefault);
        form_->bbCreateClick();
        EXPECT_EQ(messages_, QStringList{c.message}) << c.count << "|" << c.index << "|" << c.digits;
        EXPECT_EQ(ApplicationCursor(), crDefault);
        EXPECT_EQ(form_->pbProgress->value(), 0);
    }
    EXPECT_EQ(Children("Sales.Acme").size(), 3u);
}

TEST_F(CreationRunTest, NoSelectionIsRefusedAndStillRestoresTheSavedCursor) {
    form_->tvNDSView->clearSelection();
    form_->ebToCreate->setText(QStringLiteral("3"));
    SavedCursor = crDefault;
    SetApplicationCursor(crHourGlass);
    form_->bbCreateClick();
    EXPECT_EQ(messages_, QStringList{QStringLiteral(
                             "An NDS container must be selected before attempting to create any userobjects.\r\n"
                             "Please select an NDS container and try again. If you haven't done so, press\r\n"
                             "F4 to scan and display the current NDS you are logged in to.")});
    EXPECT_EQ(ApplicationCursor(), crDefault);
}

TEST_F(UiTest, NamesWithDotsStayOneNodeForTheScanAndTheRun) {
    StartWindow({{"example\\.com", "Organization"}, {"People.example\\.com", "Organizational Unit"}});
    Scan();
    // The listing hands the name out escaped; the node shows it so and names it so.
    const QStringList people{QStringLiteral("example\\.com"), QStringLiteral("People")};
    ASSERT_NE(Node(people), nullptr);
    PrepareRun(people, QStringLiteral("p.q"), QStringLiteral("P"), QStringLiteral("1"));
    form_->bbCreateClick();
    EXPECT_EQ(messages_, QStringList{Created(1)});
    EXPECT_EQ(Children("People.example\\.com"), std::vector<std::string>{"p.q0001"});
}

// Two siblings that show the same text: one named with a byte that is no UTF-8, one named U+FFFD
// itself. Each node names its own container for the run and the preview, never its text.
TEST_F(UiTest, NodesNameTheirContainerByTheDirectoryNameNotTheTextShown) {
    StartWindow(
        {{"Acme", "Organization"}, {"\xFF.Acme", "Organizational Unit"}, {"\xEF\xBF\xBD.Acme", "Organizational Unit"}});
    Scan();
    const QTreeWidgetItem* acme = Node({QStringLiteral("Acme")});
    ASSERT_EQ(acme->childCount(), 2);
    ASSERT_EQ(acme->child(0)->text(0), acme->child(1)->text(0));
    for (int i = 0; i < 2; ++i) {
        const std::string container = i == 0 ? "\xFF.Acme" : "\xEF\xBF\xBD.Acme";
        PrepareRun({}, QStringLiteral("u"), QStringLiteral("U"), QStringLiteral("1"), QString::number(i));
        form_->tvNDSView->setCurrentItem(acme->child(i));
        form_->bbCreateClick();
        EXPECT_EQ(Children(container), std::vector<std::string>{"u000" + std::to_string(i)}) << i;
    }
}

TEST_F(CreationRunTest, RootSelectedGivesTheRootAsContainerWhichHoldsNoUsers) {
    PrepareRun({}, QStringLiteral("top"), QStringLiteral("T"), QStringLiteral("1"));
    form_->bbCreateClick();
    EXPECT_EQ(recorder_->NameContextsSet(DirContext).back(), "[Root]");
    EXPECT_EQ(messages_, (QStringList{QStringLiteral("Error Code FFFFFD9D - Trying to create userobject with "
                                                     "NWDSAddObject"),
                                      QStringLiteral("An NDS-error was encountered, aborting creation process. \r\n") +
                                          Created(0)}));
    EXPECT_EQ(Children("[Root]"), std::vector<std::string>{"Acme"});
}

// A NUL pasted into a name field would cut the name short on its way: the run refuses it after
// the number fields, login name first, and creates nobody.
TEST_F(CreationRunTest, NulInTheLoginOrLastNameIsRefusedBeforeAnyUser) {
    const QString nul(QChar(u'\0'));
    const QString loginMessage =
        QStringLiteral("\"Login name\" must not contain a NUL character. Please verify this field and try again.");
    const QString lastMessage =
        QStringLiteral("\"Last name\" must not contain a NUL character. Please verify this field and try again.");
    struct Case {
        QString login;
        QString last;
        QString count;
        QString message;
    };
    const Case cases[] = {
        {QStringLiteral("a") + nul + QStringLiteral("b"), QStringLiteral("L") + nul, QStringLiteral("2"), loginMessage},
        {nul, QStringLiteral("L"), QStringLiteral("2"), loginMessage},
        {QStringLiteral("ab"), QStringLiteral("L") + nul, QStringLiteral("2"), lastMessage},
        {QStringLiteral("a") + nul, QStringLiteral("L"), QStringLiteral("x"), kCountMessage},
    };
    for (const Case& c : cases) {
        PrepareRun(kSales, c.login, c.last, c.count);
        ASSERT_EQ(form_->ebLoginName->text(), c.login);
        messages_.clear();
        SetApplicationCursor(crDefault);
        form_->bbCreateClick();
        EXPECT_EQ(messages_, QStringList{c.message});
        EXPECT_EQ(ApplicationCursor(), crDefault);
        EXPECT_EQ(form_->pbProgress->value(), 0);
    }
    EXPECT_EQ(Children("Sales.Acme").size(), 3u);
}

TEST_F(UiTest, TheCreateButtonSaysWhatAPressWouldDo) {
    StartWindow({{"School", "Organization"},
                 {"Class 7b.School", "Organizational Unit"},
                 {"<b>Staff</b>.School", "Organizational Unit"}});
    // What the tooltip shows, read as Qt's tooltip reads it.
    const auto preview = [this] {
        QTextDocument shown;
        shown.setHtml(form_->bbCreate->toolTip()); // plain text would read the same
        EXPECT_EQ(form_->bbCreate->accessibleDescription(), shown.toPlainText());
        return shown.toPlainText();
    };
    EXPECT_EQ(preview(), QStringLiteral("Press F4 to scan the directory first."));
    Scan();
    EXPECT_EQ(preview(), QStringLiteral("Fill in the login name, the last name and the number of users to create."));
    form_->ebLoginName->setText(QStringLiteral("stud"));
    form_->ebLastName->setText(QStringLiteral("Student"));
    form_->ebToCreate->setText(QStringLiteral("30"));
    form_->tvNDSView->clearSelection();
    EXPECT_EQ(preview(), QStringLiteral("Select the container to create the users in."));

    form_->tvNDSView->setCurrentItem(Node({QStringLiteral("School"), QStringLiteral("Class 7b")}));
    EXPECT_EQ(preview(), QStringLiteral("Creates stud0001 ... stud0030 in Class 7b.School"));
    // The digits field does not run the button's rule, but the preview follows it.
    form_->ebFixed->setText(QStringLiteral("2"));
    EXPECT_EQ(preview(), QStringLiteral("Creates stud01 ... stud30 in Class 7b.School"));
    form_->ebNumber->setText(QStringLiteral("2147483647"));
    form_->ebToCreate->setText(QStringLiteral("2"));
    EXPECT_EQ(preview(), QStringLiteral("Creates stud2147483647 ... stud-2147483648 in Class 7b.School"));
    form_->ebToCreate->setText(QStringLiteral("1"));
    EXPECT_EQ(preview(), QStringLiteral("Creates stud2147483647 in Class 7b.School"));
    form_->ebToCreate->setText(QStringLiteral("0"));
    EXPECT_EQ(preview(), QStringLiteral("Creates no users in Class 7b.School"));
    form_->tvNDSView->setCurrentItem(form_->tvNDSView->topLevelItem(0));
    EXPECT_EQ(preview(), QStringLiteral("Creates no users in [Root]"));
    form_->tvNDSView->setCurrentItem(Node({QStringLiteral("School"), QStringLiteral("<b>Staff</b>")}));
    EXPECT_EQ(preview(), QStringLiteral("Creates no users in <b>Staff</b>.School"));

    // A field that is no number: the first one a press would report.
    form_->ebToCreate->setText(QStringLiteral("x"));
    form_->ebNumber->setText(QStringLiteral("y"));
    EXPECT_EQ(preview(), QStringLiteral("\"# of users to create\" must be a number between 0 and 9999."));
    form_->ebToCreate->setText(QStringLiteral("3"));
    EXPECT_EQ(preview(), QStringLiteral("\"Starting at index\" must be a number."));
    form_->ebNumber->setText(QStringLiteral("1"));
    form_->ebFixed->setText(QStringLiteral("z"));
    EXPECT_EQ(preview(), QStringLiteral("\"# of fixed digits\" must be a number between 0 and 9."));
    // Then a NUL in a name field, the login name first, as a press checks them.
    form_->ebFixed->setText(QStringLiteral("4"));
    form_->ebLastName->setText(QStringLiteral("Stu") + QChar(u'\0'));
    EXPECT_EQ(preview(), QStringLiteral("\"Last name\" must not contain a NUL character."));
    form_->ebLoginName->setText(QStringLiteral("st") + QChar(u'\0'));
    EXPECT_EQ(preview(), QStringLiteral("\"Login name\" must not contain a NUL character."));
    EXPECT_TRUE(messages_.isEmpty());
    EXPECT_TRUE(form_->bbCreate->isEnabled());
}
