// The scan: F4 rebuilds the tree view from "[Root]" with every Country, Organization and
// Organizational Unit, counting containers and objects in the status bar, and says once at the end
// which containers could not be listed completely.
#include "ui/uMain.h"

#include "client/SchemaNames.h"
#include "directory/ContainerScan.h"
#include "ui/BusyCursor.h"
#include "ui/ContainerName.h"
#include "ui/DisplayPacer.h"
#include "ui/ImageList.h"
#include "ui/MessageBoxSeam.h"
#include "ui/StatusBar.h"

#include <QScopedValueRollback>
#include <QTimer>
#include <QTreeWidget>

#include <string_view>
#include <utility>
#include <vector>

namespace {

// Image of a node for a container of `baseClass` (IsScannedContainerClass).
int ContainerImage(std::string_view baseClass) {
    if (baseClass == kOrganizationClass)
        return TImageList::kOrganization;
    if (baseClass == kOrganizationalUnitClass)
        return TImageList::kOrganizationalUnit;
    return TImageList::kCountry;
}

} // namespace

void TfMain::ScanNDS1Click() {
    // A request while a scan walks the tree is ignored: the walk holds nodes a new scan would delete.
    if (scanning_ || closed_)
        return;
    if (!CheckScanIdentity()) {
        TreeScanned = false;
        return;
    }
    BeginBusyCursor();
    TreeScanned = true;
    tvNDSView->clear();
    auto* root = new QTreeWidgetItem(tvNDSView, QStringList(QString::fromLatin1(kRootName)));
    root->setIcon(0, imIcons->Icon(TImageList::kRoot));
    SetContainerName(root, kRootName);
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

    // The window's side of the scan: a node with its image for every container, carrying the
    // container's directory name, the two counts in the status bar, painted at most once a frame,
    // and the end of the walk when the window closes.
    class ScanView final : public ContainerScanObserver {
    public:
        ScanView(TfMain& form, const ContainerScan& scan)
            : form_(form), scan_(scan), nodes_{form.tvNDSView->topLevelItem(0)} {}

        void ListingStarts() override {
            // A listing may take a while to start: show what is counted so far first.
            if (scan_.Objects() != shownObjects_ && pacer_.Due())
                ShowCounts();
        }
        void EntryCounted(bool) override {
            if (pacer_.Due())
                ShowCounts();
        }
        // A container's nodes go into the tree together once its listing has ended: one insertion
        // tells the view, and a screen reader through it, of all of them at once.
        void ContainersListed(std::size_t parentId, std::vector<ScannedContainer>& containers) override {
            QList<QTreeWidgetItem*> children;
            children.reserve(static_cast<qsizetype>(containers.size()));
            for (const ScannedContainer& container : containers) {
                const QString text =
                    QString::fromUtf8(container.name.data(), static_cast<qsizetype>(container.name.size()));
                auto* child = new QTreeWidgetItem(QStringList(text));
                child->setIcon(0, form_.imIcons->Icon(ContainerImage(container.baseClass)));
                SetContainerName(child, container.dottedName);
                children.append(child);
                nodes_.push_back(child); // by the walk's number
            }
            nodes_[parentId]->addChildren(children);
        }
        // Closing the window released DirContext and is taking the widgets down: stop there.
        bool StopRequested() override { return form_.closed_; }

        // Counts of the last entries of a frame would wait for the next entry; whenever the walk
        // lets messages run (between entries, or under a box opened meanwhile), the frame timer
        // shows them.
        void CatchUp() {
            if (scan_.Objects() != shownObjects_ && !form_.closed_)
                ShowCounts();
        }
        void ShowTotals() {
            if (scan_.Objects() > 0)
                ShowCounts();
        }

    private:
        void ShowCounts() {
            form_.sbStatus->SetPanelText(1, QStringLiteral("Containers found: ") + QString::number(scan_.Containers()));
            form_.sbStatus->SetPanelText(0, QStringLiteral("Objects detected: ") + QString::number(scan_.Objects()));
            form_.sbStatus->RepaintPanel(1);
            form_.sbStatus->RepaintPanel(0);
            shownObjects_ = scan_.Objects();
        }

        TfMain& form_;
        const ContainerScan& scan_;
        std::vector<QTreeWidgetItem*> nodes_; // by the walk's number of their container
        std::int32_t shownObjects_ = 0;
        DisplayPacer pacer_;
    };

    ContainerScan scan;
    ScanView view(*this, scan);
    QTimer frameTimer;
    frameTimer.setInterval(DisplayPacer::kFrameMs);
    connect(&frameTimer, &QTimer::timeout, this, [&view] { view.CatchUp(); });
    frameTimer.start();
    scanReport_.clear();
    if (scan.Run(view)) {
        view.ShowTotals(); // exactly the final counts
        scanReport_ = scan.IncompleteMessage();
    }
}
