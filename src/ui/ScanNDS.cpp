// The scan: F4 rebuilds the tree view from "[Root]" with every Country, Organization and
// Organizational Unit, counting containers and objects in the status bar, and says once at the end
// which containers could not be listed completely.
#include "ui/uMain.h"

#include "client/SchemaNames.h"
#include "directory/GetIdentityName.h"
#include "directory/IncompleteListings.h"
#include "directory/SharedContext.h"
#include "directory/TreeWalk.h"
#include "ui/BusyCursor.h"
#include "ui/DisplayPacer.h"
#include "ui/ImageList.h"
#include "ui/MessageBoxSeam.h"
#include "ui/StatusBar.h"

#include <QScopedValueRollback>
#include <QTimer>
#include <QTreeWidget>

#include <memory>
#include <string_view>
#include <utility>
#include <vector>

namespace {

// Image of a node for an entry of `baseClass`, or -1 when the entry is no container for the scan.
// The comparison is exact, letter case included.
int ContainerImage(std::string_view baseClass) {
    if (baseClass == kOrganizationClass)
        return TImageList::kOrganization;
    if (baseClass == kOrganizationalUnitClass)
        return TImageList::kOrganizationalUnit;
    if (baseClass == kCountryClass)
        return TImageList::kCountry;
    return -1;
}

} // namespace

void TfMain::ScanNDS1Click() {
    // A request while a scan walks the tree is ignored: the walk holds nodes a new scan would delete.
    if (scanning_ || closed_)
        return;
    const std::string identity = GetIdentityName(DirContext);
    if (identity == kPublicIdentity) {
        ShowMessageBox(QStringLiteral("ERROR:\r\r\nUnable to detect a valid NDS connection. Are you properly logged in "
                                      "to a NDS-tree ?\r\nVerify the connection and restart the program."));
        TreeScanned = false;
        return;
    }
    BeginBusyCursor();
    TreeScanned = true;
    tvNDSView->clear();
    auto* root = new QTreeWidgetItem(tvNDSView, QStringList(QString::fromLatin1(kRootName)));
    root->setIcon(0, imIcons->Icon(TImageList::kRoot));
    FillNDSView();
    if (closed_) {
        // The window has closed under the walk and the program is on its way out.
        EndBusyCursor();
        return;
    }
    root->setExpanded(true);
    EndBusyCursor();
    ebLoginNameChange();
    UpdateCreatePreview();
    // A tree that lacks what could not be listed must not pass for the whole directory.
    if (!scanReport_.empty())
        ShowMessageBox(QString::fromStdString(std::exchange(scanReport_, {})));
}

void TfMain::FillNDSView() {
    QScopedValueRollback<bool> scanning(scanning_, true);

    // The window's side of the walk: a node with its image for every container, the two counts in
    // the status bar, painted at most once a frame, and the end of the walk when the window closes.
    class ScanView final : public TreeWalkVisitor {
    public:
        explicit ScanView(TfMain& form) : form_(form), nodes_{form.tvNDSView->topLevelItem(0)} {}

        void ListingStarts(const WalkedContainer&) override {
            // A listing may take a while to start: show what is counted so far first.
            if (objects_ != shownObjects_ && pacer_.Due())
                ShowCounts();
        }
        bool EntryListed(const WalkedContainer&, std::string_view name, std::string_view baseClass) override {
            const int image = ContainerImage(baseClass);
            if (image >= 0) {
                const QString text = QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
                auto& child = listed_.emplace_back(std::make_unique<QTreeWidgetItem>(QStringList(text)));
                child->setIcon(0, form_.imIcons->Icon(image));
                nodes_.push_back(child.get()); // the walk numbers the containers it is given in this order
                ++containers_;
            }
            ++objects_;
            if (pacer_.Due())
                ShowCounts();
            return image >= 0;
        }
        // A container's nodes go into the tree together once its listing has ended: one insertion
        // tells the view, and a screen reader through it, of all of them at once. The walk lists
        // none of them before that. How the listing ended goes into the end-of-scan message.
        void ListingEnded(const WalkedContainer& container, NWDSCCODE code) override {
            incomplete_.Note(container, code);
            if (listed_.empty())
                return;
            QList<QTreeWidgetItem*> children;
            children.reserve(static_cast<qsizetype>(listed_.size()));
            for (auto& child : listed_)
                children.append(child.release());
            listed_.clear();
            nodes_[container.id]->addChildren(children);
        }
        // Closing the window released DirContext and is taking the widgets down: stop there.
        bool StopRequested() override { return form_.closed_; }

        // Counts of the last entries of a frame would wait for the next entry; whenever the walk
        // lets messages run (between entries, or under a box opened meanwhile), the frame timer
        // shows them.
        void CatchUp() {
            if (objects_ != shownObjects_ && !form_.closed_)
                ShowCounts();
        }
        void ShowTotals() {
            if (objects_ > 0)
                ShowCounts();
        }
        std::string IncompleteMessage() const { return incomplete_.Message(); }

    private:
        void ShowCounts() {
            form_.sbStatus->SetPanelText(1, QStringLiteral("Containers found: ") + QString::number(containers_));
            form_.sbStatus->SetPanelText(0, QStringLiteral("Objects detected: ") + QString::number(objects_));
            form_.sbStatus->RepaintPanel(1);
            form_.sbStatus->RepaintPanel(0);
            shownObjects_ = objects_;
        }

        TfMain& form_;
        std::vector<QTreeWidgetItem*> nodes_; // by the walk's number of their container
        // Nodes of the container being listed, not in the tree yet (dropped when the walk stops).
        std::vector<std::unique_ptr<QTreeWidgetItem>> listed_;
        std::int32_t containers_ = 0;
        std::int32_t objects_ = 0;
        std::int32_t shownObjects_ = 0;
        DisplayPacer pacer_;
        IncompleteListings incomplete_;
    };

    ScanView view(*this);
    QTimer frameTimer;
    frameTimer.setInterval(DisplayPacer::kFrameMs);
    connect(&frameTimer, &QTimer::timeout, this, [&view] { view.CatchUp(); });
    frameTimer.start();
    scanReport_.clear();
    if (WalkTree(view)) {
        view.ShowTotals(); // exactly the final counts
        scanReport_ = view.IncompleteMessage();
    }
}
