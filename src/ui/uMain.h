#pragma once

#include "directory/AccountDetails.h"
#include "ui/CreatedAccount.h"
#include "ui/PasswordChoice.h"
#include "ui/RunProgressBar.h"

#include <QMainWindow>

#include <memory>
#include <string>
#include <vector>

class QAction;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QMenuBar;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;
class QtDirectoryUi;
class TakenNamesPreview;
class TImageList;
class TStatusBar;

// The program's one window.
class TfMain : public QMainWindow {
    Q_OBJECT
public:
    explicit TfMain(QWidget* parent = nullptr);
    ~TfMain() override;

    QTreeWidget* tvNDSView = nullptr;
    QMenuBar* MainMenu1 = nullptr;
    QMenu* File1 = nullptr;
    QAction* Exit1 = nullptr;
    QMenu* Tools1 = nullptr;
    QAction* ScanNDS1 = nullptr;
    TStatusBar* sbStatus = nullptr;
    QGroupBox* GroupBox1 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label5 = nullptr;
    QPushButton* bbCreate = nullptr;
    QLineEdit* ebLoginName = nullptr;
    QLineEdit* ebLastName = nullptr;
    QLineEdit* ebToCreate = nullptr;
    TImageList* imIcons = nullptr;
    QMenu* Help1 = nullptr;
    QAction* About1 = nullptr;
    RunProgressBar* pbProgress = nullptr;
    QLabel* Label1 = nullptr;
    QLineEdit* ebNumber = nullptr;
    QLabel* Label2 = nullptr;
    QLineEdit* ebFixed = nullptr;

    void FormCreate();
    void FillNDSView();
    void Exit1Click();
    void bbCreateClick();
    void FormClose();
    void ScanNDS1Click();
    void ebLoginNameChange();
    void About1Click();
    void sbStatusDrawPanel(TStatusBar* StatusBar, int Panel, const QRect& Rect);

    // Passwords and the account list.
    QAction* Passwords1 = nullptr;
    QAction* SaveAccountList1 = nullptr;
    QAction* PrintAccountSlips1 = nullptr;
    void Passwords1Click();
    void SaveAccountList1Click();
    void PrintAccountSlips1Click();

    // Account details: the group the following runs' users join.
    QAction* AccountDetails1 = nullptr;
    void AccountDetails1Click();
    const AccountDetails& Details() const { return details_; }
    // A batch disabled, enabled again or removed (BatchMenus.cpp).
    QAction* DisableUsers1 = nullptr;
    void DisableUsers1Click();

    // Says on the Create button (tooltip and accessible description) what a press would do.
    void UpdateCreatePreview();

    // The passwords the following runs set, as the Passwords dialog last chose them.
    const PasswordChoice& Passwords() const { return passwords_; }
    // The users the last run created (the one that reached its loop), with their passwords.
    const std::vector<CreatedAccount>& CreatedAccounts() const { return accounts_; }

    // True while a scan walks the tree (a second scan request is ignored then).
    bool Scanning() const { return scanning_; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void CreateControls();
    void CreateMenus();
    void PlaceWindow();
    void PaintProgressNow();
    // The account list's menu items are enabled while the list holds users.
    void UpdateAccountListMenus();

    std::unique_ptr<QtDirectoryUi> directoryUi_;
    // What the last walk could not list, for the message at the end of its scan; empty when all was listed.
    std::string scanReport_;
    PasswordChoice passwords_;
    AccountDetails details_;
    std::vector<CreatedAccount> accounts_;
    TakenNamesPreview* takenNames_ = nullptr;
    bool scanning_ = false;
    bool closed_ = false;
};

// Program-wide values of the window.
extern TfMain* fMain;
extern bool TreeScanned;
extern double ProgramVersion;
