#include "UiFixture.h"

#include "ui/PasswordsDialog.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>

namespace {
QString Shown(const QString& text) {
    return QString(text).remove(QLatin1Char('&'));
}

const PasswordSupport kEverything{PasswordLimit::None, PasswordLimit::None};
} // namespace

class PasswordsDialogTest : public UiTest {
protected:
    void SetUp() override {
        StartWindow(AcmeTree());
        messages_.clear();
    }

    // Opens the dialog from the Tools menu and lets `fill` work on it while it is up.
    void OpenDialog(const std::function<void(TfPasswords&)>& fill) {
        bool seen = false;
        QTimer::singleShot(0, form_.get(), [&] {
            auto* dialog = qobject_cast<TfPasswords*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            seen = true;
            fill(*dialog);
            if (dialog->isVisible())
                dialog->reject();
        });
        form_->Passwords1->trigger();
        EXPECT_TRUE(seen);
    }
};

TEST_F(PasswordsDialogTest, OffersTheThreeChoicesWithTheirFieldsAndTheKeyboardReachesThem) {
    EXPECT_EQ(form_->Tools1->actions().indexOf(form_->Passwords1),
              form_->Tools1->actions().indexOf(form_->ScanNDS1) + 1);
    EXPECT_EQ(Shown(form_->Passwords1->text()), QStringLiteral("Passwords..."));

    TfPasswords dialog(PasswordChoice{}, kEverything, form_.get());
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Passwords"));
    EXPECT_TRUE(dialog.isModal());
    const std::pair<QAbstractButton*, const char*> texts[] = {
        {dialog.rbNoPassword, "No password"},
        {dialog.rbOnePassword, "One password for all users"},
        {dialog.rbRandomPassword, "A random password for each user"},
        {dialog.cbMustChange, "Users must change the password at first login"},
        {dialog.bbOK, "OK"},
        {dialog.bbCancel, "Cancel"},
    };
    for (const auto& [button, text] : texts)
        EXPECT_EQ(Shown(button->text()), QLatin1String(text));
    const std::pair<QLabel*, QWidget*> labels[] = {{dialog.lbPassword, dialog.ebPassword},
                                                   {dialog.lbRepeatPassword, dialog.ebRepeatPassword},
                                                   {dialog.lbLength, dialog.seLength}};
    for (const auto& [label, field] : labels)
        EXPECT_EQ(label->buddy(), field) << label->text().toStdString();
    EXPECT_EQ(Shown(dialog.lbPassword->text()), QStringLiteral("Password"));
    EXPECT_EQ(Shown(dialog.lbRepeatPassword->text()), QStringLiteral("Repeat password"));
    EXPECT_EQ(Shown(dialog.lbLength->text()), QStringLiteral("Length"));
    EXPECT_EQ(dialog.ebPassword->echoMode(), QLineEdit::Password);
    EXPECT_EQ(dialog.ebRepeatPassword->echoMode(), QLineEdit::Password);
    EXPECT_EQ(dialog.seLength->minimum(), 8);
    EXPECT_EQ(dialog.seLength->maximum(), 64);
    EXPECT_EQ(dialog.seLength->value(), 12);
    EXPECT_TRUE(dialog.bbOK->isDefault());

    // No password by default: nothing else to fill in, nothing to change at first login.
    EXPECT_TRUE(dialog.rbNoPassword->isChecked());
    EXPECT_FALSE(dialog.ebPassword->isEnabled());
    EXPECT_FALSE(dialog.seLength->isEnabled());
    EXPECT_FALSE(dialog.cbMustChange->isEnabled());

    // Alt and the underlined letter pick a choice and reach its fields.
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    // A button's access key clicks it the way Qt animates a click: a moment later.
    const auto pressed = [](QAbstractButton* button) {
        return QTest::qWaitFor([button] { return button->isChecked(); }, 2000);
    };
    QTest::keyClick(&dialog, Qt::Key_R, Qt::AltModifier);
    EXPECT_TRUE(pressed(dialog.rbRandomPassword));
    EXPECT_TRUE(dialog.seLength->isEnabled());
    EXPECT_FALSE(dialog.ebPassword->isEnabled());
    EXPECT_TRUE(dialog.cbMustChange->isEnabled());
    QTest::keyClick(&dialog, Qt::Key_O, Qt::AltModifier);
    EXPECT_TRUE(pressed(dialog.rbOnePassword));
    QTest::keyClick(&dialog, Qt::Key_P, Qt::AltModifier);
    EXPECT_TRUE(dialog.ebPassword->hasFocus());
    QTest::keyClicks(dialog.ebPassword, QStringLiteral("Abc12345"));
    QTest::keyClick(&dialog, Qt::Key_E, Qt::AltModifier);
    QTest::keyClicks(dialog.ebRepeatPassword, QStringLiteral("Abc12345"));
    QTest::keyClick(&dialog, Qt::Key_U, Qt::AltModifier);
    EXPECT_TRUE(pressed(dialog.cbMustChange));
    QTest::keyClick(dialog.ebRepeatPassword, Qt::Key_Return);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    const PasswordChoice choice = dialog.Choice();
    EXPECT_EQ(choice.mode, PasswordChoice::Mode::One);
    EXPECT_EQ(choice.password.View(), "Abc12345");
    EXPECT_TRUE(choice.mustChange);
    EXPECT_TRUE(messages_.isEmpty());
}

TEST_F(PasswordsDialogTest, OkRefusesEmptyDifferingAndOverlongPasswordsAndNeverShowsThem) {
    TfPasswords dialog(PasswordChoice{}, kEverything, form_.get());
    dialog.show();
    dialog.rbOnePassword->setChecked(true);
    const QString longest(128, QChar(0xE4)); // 256 bytes of UTF-8
    const struct {
        QString password;
        QString repeated;
        bool accepted;
    } cases[] = {
        {QString(), QString(), false},
        {QStringLiteral("Secret-1"), QStringLiteral("Secret-2"), false},
        {longest + QLatin1Char('x'), longest + QLatin1Char('x'), false},
        {QStringLiteral(" \"quoted\" \\ and blanks "), QStringLiteral(" \"quoted\" \\ and blanks "), true},
        {longest, longest, true},
    };
    for (const auto& c : cases) {
        messages_.clear();
        dialog.setResult(QDialog::Rejected);
        dialog.show();
        dialog.ebPassword->setText(c.password);
        dialog.ebRepeatPassword->setText(c.repeated);
        dialog.bbOK->click();
        EXPECT_EQ(dialog.result() == QDialog::Accepted, c.accepted) << c.password.toStdString();
        EXPECT_EQ(messages_.size(), c.accepted ? 0 : 1) << c.password.toStdString();
        for (const QString& message : messages_) {
            EXPECT_FALSE(!c.password.isEmpty() && message.contains(c.password)) << message.toStdString();
            EXPECT_FALSE(!c.repeated.isEmpty() && message.contains(c.repeated)) << message.toStdString();
        }
        if (c.accepted) {
            EXPECT_EQ(dialog.Choice().password.View(), c.password.toStdString());
        }
    }
}

TEST_F(PasswordsDialogTest, ChoicesTheDirectoryCannotHonourAreDisabledWithTheReason) {
    PasswordChoice random;
    random.mode = PasswordChoice::Mode::Random;
    random.mustChange = true;

    TfPasswords noChange(random, PasswordSupport{PasswordLimit::None, PasswordLimit::NoStandardWay});
    EXPECT_TRUE(noChange.rbRandomPassword->isChecked());
    EXPECT_FALSE(noChange.cbMustChange->isEnabled());
    EXPECT_FALSE(noChange.cbMustChange->isChecked());
    EXPECT_EQ(noChange.cbMustChange->toolTip(), PasswordLimitText(PasswordLimit::NoStandardWay));
    EXPECT_FALSE(noChange.cbMustChange->toolTip().isEmpty());
    EXPECT_FALSE(noChange.Choice().mustChange);

    TfPasswords none(random, PasswordSupport{PasswordLimit::NoPasswords, PasswordLimit::NoPasswords});
    EXPECT_TRUE(none.rbNoPassword->isChecked());
    for (QRadioButton* button : {none.rbOnePassword, none.rbRandomPassword}) {
        EXPECT_FALSE(button->isEnabled());
        EXPECT_EQ(button->toolTip(), PasswordLimitText(PasswordLimit::NoPasswords));
    }
    EXPECT_EQ(none.Choice().mode, PasswordChoice::Mode::None);
}

TEST_F(PasswordsDialogTest, TheChoiceHoldsUntilChangedAndCancelKeepsIt) {
    OpenDialog([](TfPasswords& dialog) {
        EXPECT_TRUE(dialog.cbMustChange->toolTip().isEmpty()); // the embedded directory can ask
        EXPECT_EQ(dialog.lbProtection->text(), ProtectionText(ConnectionProtection::LocalStore));
        dialog.rbRandomPassword->setChecked(true);
        dialog.seLength->setValue(20);
        dialog.cbMustChange->setChecked(true);
        dialog.bbOK->click();
    });
    EXPECT_EQ(form_->Passwords().mode, PasswordChoice::Mode::Random);
    EXPECT_EQ(form_->Passwords().length, 20);
    EXPECT_TRUE(form_->Passwords().mustChange);

    OpenDialog([](TfPasswords& dialog) {
        EXPECT_TRUE(dialog.rbRandomPassword->isChecked());
        EXPECT_EQ(dialog.seLength->value(), 20);
        EXPECT_TRUE(dialog.cbMustChange->isChecked());
        dialog.rbNoPassword->setChecked(true);
        dialog.bbCancel->click();
    });
    EXPECT_EQ(form_->Passwords().mode, PasswordChoice::Mode::Random);
}
