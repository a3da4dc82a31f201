// The creation run: "Create User(s)" makes a run of User objects in the selected container.
#include "ui/uMain.h"

#include "directory/CreationRun.h"
#include "ui/BusyCursor.h"
#include "ui/ContainerName.h"
#include "ui/MessageBoxSeam.h"
#include "ui/RunProgressBar.h"

#include <QLineEdit>
#include <QTreeWidget>

namespace {
PasswordPlan Plan(const PasswordChoice& choice) {
    PasswordPlan plan;
    switch (choice.mode) {
    case PasswordChoice::Mode::None:
        plan.mode = PasswordPlan::Mode::None;
        break;
    case PasswordChoice::Mode::One:
        plan.mode = PasswordPlan::Mode::One;
        break;
    case PasswordChoice::Mode::Random:
        plan.mode = PasswordPlan::Mode::Random;
        break;
    }
    plan.password = choice.password;
    plan.length = choice.length;
    plan.mustChange = choice.mustChange;
    return plan;
}

// Number fields as StrToIntStrict reads them: characters beyond Latin-1 become '?'.
std::string NumberField(const QLineEdit* edit) {
    return edit->text().toLatin1().toStdString();
}
} // namespace

void TfMain::bbCreateClick() {
    QTreeWidgetItem* selected = tvNDSView->currentItem();
    if (!selected || !selected->isSelected()) {
        ShowMessageBox(QStringLiteral(
            "An NDS container must be selected before attempting to create any userobjects.\r\nPlease select an NDS "
            "container and try again. If you haven't done so, press\r\nF4 to scan and display the current NDS you are "
            "logged in to."));
        EndBusyCursor();
        return;
    }
    CreationRequest request;
    request.container = DottedContainerName(selected);
    request.loginName = ebLoginName->text().toStdString();
    request.lastName = ebLastName->text().toStdString();
    request.count = NumberField(ebToCreate);
    request.index = NumberField(ebNumber);
    request.digits = NumberField(ebFixed);
    request.passwords = Plan(passwords_);
    request.details = details_;

    // The window's side of the run: the hourglass, the progress bar stepped per user (painted at
    // most once a frame, told to assistive technology at most every RunProgressBar::kAnnounceMs),
    // and the account list with its menu items.
    class RunView final : public CreationRunObserver {
    public:
        explicit RunView(TfMain& form) : form_(form) {}
        void NameContextSet() override { BeginBusyCursor(); }
        void CountRead(std::int32_t count) override {
            // A bar whose range is 0 to 0 would show Qt's endless busy animation; 0 to 1 stands still at 0.
            form_.pbProgress->setRange(0, count == 0 ? 1 : count);
        }
        void Refused() override { EndBusyCursor(); }
        // The account list holds this run's users from here on, whatever the run's end.
        void BeforeFirstUser() override { form_.accounts_.clear(); }
        void UserCreated(const CreatedUser& user, std::int32_t) override {
            // The directory name waits for the list to be saved: the loop asks the directory nothing more.
            form_.accounts_.push_back({QString::fromStdString(user.loginName), QString::fromStdString(user.lastName),
                                       QString::fromStdString(user.container),
                                       QString::fromStdString(user.directoryName), user.password});
            form_.pbProgress->Advance();
        }
        void GroupJoined(std::size_t joined) override {
            for (std::size_t i = 0; i < form_.accounts_.size(); ++i)
                form_.accounts_[i].inGroup = i < joined;
        }
        void Stopped(std::int32_t) override {
            form_.pbProgress->Settle();
            form_.pbProgress->setValue(0);
            form_.UpdateAccountListMenus();
            EndBusyCursor();
        }
        void Completing(std::int32_t) override {
            form_.pbProgress->Settle();
            form_.UpdateAccountListMenus();
            EndBusyCursor();
        }
        void Completed(std::int32_t) override { form_.pbProgress->setValue(0); }

    private:
        TfMain& form_;
    };
    RunView view(*this);
    CreationRun(std::move(request)).Execute(view);
}

void TfMain::UpdateAccountListMenus() {
    SaveAccountList1->setEnabled(!accounts_.empty());
    PrintAccountSlips1->setEnabled(!accounts_.empty());
}
