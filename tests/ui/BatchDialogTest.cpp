// Tools, "Disable or remove users...": nothing runs before the preview and the typed count.
#include "UiFixture.h"

#include "ui/BatchDialog.h"
#include "ui/OutputDialogSeam.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <gmock/gmock.h>

TEST_F(UiTest, BatchIsRemovedOnlyAfterItsPreviewAndTypedCount) {
    StartWindow(AcmeTree());
    ASSERT_EQ(AddEntry("s0001.Sales.Acme", "User", "X"), 0);
    ASSERT_EQ(AddEntry("s0002.Sales.Acme", "User", "X"), 0);
    ASSERT_EQ(AddEntry("s0003.Sales.Acme", "Printer"), 0);
    Scan();
    PrepareRun({QStringLiteral("Acme"), QStringLiteral("Sales")}, QStringLiteral("s"), QStringLiteral("X"),
               QStringLiteral("4"));
    SetSaveFileNameHandler([](const QString&) { return QString(); }); // the list is not saved
    QTimer::singleShot(0, form_.get(), [&] {
        auto* dialog = qobject_cast<TfBatch*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->cbAction->setCurrentIndex(static_cast<int>(BatchAction::Remove));
        EXPECT_FALSE(dialog->bbRun->isEnabled());
        dialog->bbPreview->click();
        dialog->ebConfirm->setText(QStringLiteral("4"));
        EXPECT_FALSE(dialog->bbRun->isEnabled()); // the range, not the users
        dialog->ebConfirm->setText(QStringLiteral("2"));
        dialog->bbRun->click();
    });
    form_->DisableUsers1->trigger();
    SetSaveFileNameHandler({});
    EXPECT_THAT(messages_, ::testing::ElementsAre(QStringLiteral("2 users removed.")));
    EXPECT_THAT(Children("Sales.Acme"), ::testing::ElementsAre("East", "jdoe", "laser", "s0003"));
}
