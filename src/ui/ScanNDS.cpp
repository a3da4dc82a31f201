// The scan: F4 rebuilds the tree view from "[Root]" with every Country, Organization and
// Organizational Unit, counting containers and objects in the status bar.
#include "uMain.h"

#include "BusyCursor.h"
#include "ContainerName.h"
#include "DisplayPacer.h"
#include "GetIdentityName.h"
#include "ImageList.h"
#include "MessageBoxSeam.h"
#include "SchemaNames.h"
#include "SharedContext.h"
#include "StatusBar.h"
#include "TNDSObj.h"

#include <QScopedValueRollback>
#include <QTimer>
#include <QTreeWidget>

#include <string_view>
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
}

void TfMain::FillNDSView() {
    QScopedValueRollback<bool> scanning(scanning_, true);
    std::int32_t containers = 0;
    std::int32_t objects = 0;
    DisplayPacer pacer;
    TNDSObj cursor;

    std::int32_t shownObjects = 0;
    const auto showCounts = [&] {
        sbStatus->SetPanelText(1, QStringLiteral("Containers found: ") + QString::number(containers));
        sbStatus->SetPanelText(0, QStringLiteral("Objects detected: ") + QString::number(objects));
        sbStatus->RepaintPanel(1);
        sbStatus->RepaintPanel(0);
        shownObjects = objects;
    };
    // Counts of the last entries of a frame would wait for the next entry; whenever the walk lets
    // messages run (between entries, or under a box opened meanwhile), a frame timer shows them.
    QTimer frameTimer;
    frameTimer.setInterval(DisplayPacer::kFrameMs);
    connect(&frameTimer, &QTimer::timeout, this, [&] {
        if (objects != shownObjects && !closed_)
            showCounts();
    });
    frameTimer.start();

    // Depth first, each node's children appended when its turn comes: the order of the flat
    // positions, without counting the tree afresh for every node. Children go on the stack last
    // to first, so the first child is walked next.
    std::vector<QTreeWidgetItem*> pending{tvNDSView->topLevelItem(0)};
    std::vector<QTreeWidgetItem*> children;
    while (!pending.empty() && !closed_) {
        QTreeWidgetItem* node = pending.back();
        pending.pop_back();
        const std::string name = DottedContainerName(node, true);
        LastDirResult = SetNameContext(DirContext, name);
        // A listing may take a while to start: show what is counted so far first.
        if (objects != shownObjects && pacer.Due())
            showCounts();
        LastDirResult = ListFirst(name, cursor);
        children.clear();
        while (LastDirResult == 0) {
            if (const int image = ContainerImage(cursor.BaseClass()); image >= 0) {
                auto* child = new QTreeWidgetItem(node, QStringList(QString::fromStdString(cursor.EntryName)));
                child->setIcon(0, imIcons->Icon(image));
                children.push_back(child);
                ++containers;
            }
            ++objects;
            if (pacer.Due())
                showCounts();
            LastDirResult = ListNext(cursor);
            // Closing the window released DirContext and is taking the widgets down: stop here.
            if (closed_)
                return;
        }
        pending.insert(pending.end(), children.rbegin(), children.rend());
    }
    if (objects > 0)
        showCounts(); // exactly the final counts
}
