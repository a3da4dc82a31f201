#include "UiFixture.h"

#include "ui/StatusBar.h"

#include <QGroupBox>
#include <QMenuBar>
#include <QTest>
#include <QTreeWidget>

// Run twice by ctest: once on an offscreen screen that reports no window frame, once on one that
// reports a frame of 2 pixels on each side; each case checks which of the two it runs on first.
class WindowSizeTest : public UiTest {
protected:
    void SetUp() override {
        StartWindow(AcmeTree());
        form_->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form_.get()));
        QCoreApplication::processEvents();
    }

    QSize Frame() const { return form_->frameGeometry().size() - form_->size(); }
};

TEST_F(WindowSizeTest, WithoutAFrameTheClientAreaIsTheDrawnForm) {
    ASSERT_EQ(Frame(), QSize(0, 0)) << "needs an offscreen screen without window frames";
    EXPECT_EQ(form_->centralWidget()->size(), QSize(622, 340));
    EXPECT_EQ(form_->tvNDSView->geometry(), QRect(8, 8, 385, 307));
    EXPECT_EQ(form_->GroupBox1->geometry(), QRect(408, 8, 209, 305));
    // The menu bar above and the status bar below complete the drawn 622 by 359 below the menu bar.
    EXPECT_EQ(form_->size(), QSize(622, form_->menuBar()->height() + 359));
    EXPECT_EQ(form_->sbStatus->geometry(), QRect(0, form_->menuBar()->height() + 340, 622, TStatusBar::kHeight));
}

TEST_F(WindowSizeTest, WithAFrameTheOuterSizeIsTheDrawnSize) {
    ASSERT_GT(Frame().width(), 0) << "needs an offscreen screen with window frames";
    EXPECT_EQ(form_->frameGeometry().size(), QSize(630, 405));
    // The client area follows from the frame; the controls keep their anchors in it.
    const QSize client = form_->centralWidget()->size();
    EXPECT_EQ(client, QSize(630, 405 - form_->menuBar()->height() - TStatusBar::kHeight) - Frame());
    EXPECT_EQ(form_->tvNDSView->geometry(), QRect(8, 8, 385 + client.width() - 622, 307 + client.height() - 340));
    EXPECT_EQ(form_->GroupBox1->geometry(), QRect(408 + client.width() - 622, 8, 209, 305));

    // Fitted once: a size the user gives the window afterwards stays.
    form_->resize(900, 600);
    QCoreApplication::processEvents();
    EXPECT_EQ(form_->size(), QSize(900, 600));
    form_->move(20, 30);
    QCoreApplication::processEvents();
    EXPECT_EQ(form_->size(), QSize(900, 600));
}
