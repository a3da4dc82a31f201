#include "UiFixture.h"

#include "client/SchemaNames.h"
#include "client/embedded/EmbeddedSchema.h"
#include "client/embedded/PasswordHash.h"
#include "ui/AccountList.h"
#include "ui/OutputDialogSeam.h"
#include "ui/PasswordsDialog.h"
#include "ui/SecretString.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QSet>
#include <QSpinBox>
#include <QTimer>

#include <sys/stat.h>

namespace {
const QStringList kSales{QStringLiteral("Acme"), QStringLiteral("Sales")};
const QByteArray kHeader = "Login name,Last name,Container,Directory name,Password\r\n";

QString Created(int count) {
    return QString::number(count) + QStringLiteral(" users succesfully created.");
}

mode_t ModeOf(const std::string& path) {
    struct stat info {};
    EXPECT_EQ(stat(path.c_str(), &info), 0) << path;
    return info.st_mode & 0777;
}

QByteArray ReadAll(const std::string& path) {
    QFile file(QString::fromStdString(path));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path;
    return file.readAll();
}
} // namespace

class AccountListTest : public UiTest {
protected:
    void SetUp() override {
        StartWindow(AcmeTree());
        Scan();
        messages_.clear();
        SetSaveFileNameHandler([this](const QString&) { return QString::fromStdString(listPath_); });
    }
    void TearDown() override {
        SetSaveFileNameHandler({});
        SetPrinterHandler({});
        UiTest::TearDown();
    }

    // What the store keeps for a user: the password hash must match `password`.
    bool StoreAccepts(const std::string& dottedName, const QString& password) const {
        const auto hash = view_.Attribute(dottedName, kPasswordHashAttribute);
        return hash && PasswordMatches(*hash, password.toStdString());
    }

    QByteArray SavedList() {
        form_->SaveAccountList1->trigger();
        return ReadAll(listPath_);
    }

    std::string listPath_ = folder_.path() + "/accounts.csv";
};

TEST_F(AccountListTest, OnePasswordForAllIsSetWithEachUserAndListed) {
    // File holds the two items above Exit, disabled until a run has created users.
    const QList<QAction*> file = form_->File1->actions();
    ASSERT_EQ(file.size(), 4);
    EXPECT_EQ(file[0], form_->SaveAccountList1);
    EXPECT_EQ(file[1], form_->PrintAccountSlips1);
    EXPECT_TRUE(file[2]->isSeparator());
    EXPECT_EQ(file[3], form_->Exit1);
    EXPECT_EQ(form_->SaveAccountList1->text().remove(QLatin1Char('&')), QStringLiteral("Save account list..."));
    EXPECT_EQ(form_->PrintAccountSlips1->text().remove(QLatin1Char('&')), QStringLiteral("Print account slips..."));
    EXPECT_FALSE(form_->SaveAccountList1->isEnabled());
    EXPECT_FALSE(form_->PrintAccountSlips1->isEnabled());
    const QString password = QStringLiteral("Gr\u00FC\u00DFe \"aus\" C:\\Temp");
    ChooseOnePassword(password, true);
    PrepareRun(kSales, QStringLiteral("stud"), QStringLiteral("Student"), QStringLiteral("3"));
    form_->bbCreateClick();

    EXPECT_EQ(messages_, QStringList{Created(3)});
    for (const char* name : {"stud0001.Sales.Acme", "stud0002.Sales.Acme", "stud0003.Sales.Acme"}) {
        EXPECT_TRUE(StoreAccepts(name, password)) << name;
        EXPECT_FALSE(StoreAccepts(name, QStringLiteral("Gr\u00FC\u00DFe"))) << name;
        EXPECT_EQ(view_.Attribute(name, kPasswordMustChangeAttribute), std::optional<std::string>(kTrueValue));
    }
    EXPECT_TRUE(form_->SaveAccountList1->isEnabled());
    EXPECT_TRUE(form_->PrintAccountSlips1->isEnabled());
    const QByteArray row = ",Student,Sales.Acme,stud000%1.Sales.Acme,\"Gr\xC3\xBC\xC3\x9F"
                           "e \"\"aus\"\" C:\\Temp\"\r\n";
    QByteArray expected = kHeader;
    for (int i = 1; i <= 3; ++i)
        expected += "stud000" + QByteArray::number(i) + QByteArray(row).replace("%1", QByteArray::number(i));
    EXPECT_EQ(SavedList(), expected);
    EXPECT_EQ(ModeOf(listPath_), 0600u);
    // Neither box nor list said anything but the run's own message.
    EXPECT_EQ(messages_, QStringList{Created(3)});
}

TEST_F(AccountListTest, RandomPasswordsAreEachUsersOwnAndTheListHoldsThem) {
    ChooseRandomPasswords(16);
    PrepareRun({QStringLiteral("Acme")}, QStringLiteral("r"), QStringLiteral("R"), QStringLiteral("5"));
    form_->bbCreateClick();
    EXPECT_EQ(messages_, QStringList{Created(5)});

    const auto& accounts = form_->CreatedAccounts();
    ASSERT_EQ(accounts.size(), 5u);
    QSet<QString> distinct;
    for (const CreatedAccount& account : accounts) {
        const std::string dotted = account.loginName.toStdString() + ".Acme";
        const QString password = FromSecret(account.password);
        EXPECT_EQ(password.size(), 16);
        EXPECT_TRUE(StoreAccepts(dotted, password)) << dotted;
        EXPECT_EQ(view_.Attribute(dotted, kPasswordMustChangeAttribute), std::nullopt);
        distinct.insert(password);
    }
    EXPECT_EQ(distinct.size(), 5);

    // The run asked for no directory names; the save does, from the top, whatever a scan in between
    // left as the shared context's name context.
    EXPECT_EQ(recorder_->Count("ObjectDirectoryName"), 0u);
    Scan();
    const QList<QByteArray> lines = SavedList().split('\n');
    EXPECT_EQ(recorder_->Count("ObjectDirectoryName"), 5u);
    ASSERT_EQ(lines.size(), 1 + 5 + 1); // header, users, and nothing after the last line end
    for (std::size_t i = 0; i < accounts.size(); ++i)
        EXPECT_EQ(lines[static_cast<int>(i) + 1],
                  (QStringList{accounts[i].loginName, QStringLiteral("R"), QStringLiteral("Acme"),
                               accounts[i].loginName + QStringLiteral(".Acme"), FromSecret(accounts[i].password)}
                       .join(QLatin1Char(',')) +
                   QLatin1Char('\r'))
                      .toUtf8());
}

TEST_F(AccountListTest, TheListHoldsExactlyTheUsersOfTheLastRunThatWereCreated) {
    ASSERT_EQ(AddEntry("stud0003.Sales.Acme", "User", std::string("Taken")), 0);
    PrepareRun(kSales, QStringLiteral("stud"), QStringLiteral("Student"), QStringLiteral("5"));
    form_->bbCreateClick();
    ASSERT_EQ(messages_.size(), 2);
    EXPECT_EQ(messages_[1],
              QStringLiteral("An NDS-error was encountered, aborting creation process. \r\n") + Created(2));
    // No password chosen: none set, the column left empty.
    EXPECT_EQ(view_.Attribute("stud0001.Sales.Acme", kPasswordHashAttribute), std::nullopt);
    EXPECT_EQ(SavedList(), kHeader + "stud0001,Student,Sales.Acme,stud0001.Sales.Acme,\r\n"
                                     "stud0002,Student,Sales.Acme,stud0002.Sales.Acme,\r\n");

    // A run refused at its fields leaves the list as it was; one that creates nobody empties it.
    form_->ebToCreate->setText(QStringLiteral("x"));
    form_->bbCreateClick();
    EXPECT_EQ(form_->CreatedAccounts().size(), 2u);
    EXPECT_TRUE(form_->SaveAccountList1->isEnabled());
    form_->ebToCreate->setText(QStringLiteral("2"));
    form_->ebNumber->setText(QStringLiteral("3"));
    form_->bbCreateClick();
    EXPECT_TRUE(form_->CreatedAccounts().empty());
    EXPECT_FALSE(form_->SaveAccountList1->isEnabled());
    EXPECT_FALSE(form_->PrintAccountSlips1->isEnabled());
}

TEST_F(AccountListTest, FieldsAreQuotedAsCsvAskAndAReadableOldFileIsReplacedPrivately) {
    WriteFile(folder_.path(), "accounts.csv", "old content\n", 0644);
    PrepareRun({QStringLiteral("Acme")}, QStringLiteral("a\"b,c"), QStringLiteral("M\u00FCller, Jr."),
               QStringLiteral("1"));
    form_->bbCreateClick();
    EXPECT_EQ(SavedList(), kHeader + "\"a\"\"b,c0001\",\"M\xC3\xBCller, Jr.\",Acme,\"a\"\"b,c0001.Acme\",\r\n");
    EXPECT_EQ(ModeOf(listPath_), 0600u);

    // What a spreadsheet would run as a formula is made text by a leading quote, in every column.
    const auto q = [](const char16_t* text) { return QString::fromUtf16(text); };
    const std::vector<CreatedAccount> formulas{{q(u"=x"), q(u"+x"), q(u"-x"), q(u"@x"), "\tx"},
                                               {q(u"a-b"), q(u"\rx"), {}, {}, {}}};
    EXPECT_EQ(AccountListCsv(formulas), kHeader + "'=x,'+x,'-x,'@x,'\tx\r\na-b,\"'\rx\",,,\r\n");

    // A folder that cannot take the file: the reason in a box, nothing else.
    listPath_ = folder_.path() + "/missing/accounts.csv";
    form_->SaveAccountList1->trigger();
    ASSERT_EQ(messages_.size(), 2);
    EXPECT_TRUE(messages_[1].startsWith(QStringLiteral("The account list could not be saved.")));
}

TEST_F(AccountListTest, SlipsPrintToPdfWithLoginPasswordAndContainer) {
    ChooseRandomPasswords(12);
    PrepareRun(kSales, QStringLiteral("slip"), QStringLiteral("S"), QStringLiteral("30"));
    form_->bbCreateClick();
    ASSERT_EQ(form_->CreatedAccounts().size(), 30u);

    // An old file others could read is replaced by one only its owner can.
    WriteFile(folder_.path(), "slips.pdf", "old content\n", 0644);
    const QString pdf = QString::fromStdString(folder_.path() + "/slips.pdf");
    SetPrinterHandler([&](QPrinter* printer) {
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(pdf);
        return true;
    });
    form_->PrintAccountSlips1->trigger();
    EXPECT_EQ(messages_, QStringList{Created(30)});
    EXPECT_EQ(ModeOf(pdf.toStdString()), 0600u);

    QProcess pdftotext;
    pdftotext.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    ASSERT_TRUE(pdftotext.waitForFinished(30000)) << "pdftotext (poppler-utils) did not run";
    ASSERT_EQ(pdftotext.exitCode(), 0);
    const QString text = QString::fromUtf8(pdftotext.readAllStandardOutput());
    EXPECT_EQ(text.count(QStringLiteral("Login name:")), 30);
    EXPECT_EQ(text.count(QStringLiteral("Container:")), 30);
    EXPECT_EQ(text.count(QStringLiteral("Sales.Acme")), 30);
    for (const CreatedAccount& account : form_->CreatedAccounts()) {
        EXPECT_TRUE(text.contains(account.loginName)) << account.loginName.toStdString();
        EXPECT_TRUE(text.contains(FromSecret(account.password))) << account.password.View();
    }
    // More slips than a page holds: a new page, the form feed pdftotext writes between them.
    EXPECT_GE(text.count(QLatin1Char('\f')), 2);
}
