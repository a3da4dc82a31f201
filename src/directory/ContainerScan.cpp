#include "directory/ContainerScan.h"

#include "client/SchemaNames.h"
#include "directory/DirectoryUi.h"
#include "directory/GetIdentityName.h"
#include "directory/SharedContext.h"

bool IsScannedContainerClass(std::string_view baseClass) {
    return baseClass == kOrganizationClass || baseClass == kOrganizationalUnitClass || baseClass == kCountryClass;
}

bool CheckScanIdentity() {
    if (GetIdentityName(DirContext) != kPublicIdentity)
        return true;
    Ui().ShowMessage("ERROR:\r\r\nUnable to detect a valid NDS connection. Are you properly logged in to a NDS-tree "
                     "?\r\nVerify the connection and restart the program.");
    return false;
}

bool ContainerScan::Run(ContainerScanObserver& observer) {
    class Walk final : public TreeWalkVisitor {
    public:
        Walk(ContainerScan& scan, ContainerScanObserver& observer) : scan_(scan), observer_(observer) {}

        void ListingStarts(const WalkedContainer&) override { observer_.ListingStarts(); }
        bool EntryListed(const WalkedContainer& container, std::string_view name, std::string_view baseClass) override {
            const bool isContainer = IsScannedContainerClass(baseClass);
            if (isContainer) {
                // The walk numbers the containers it is given in this order.
                const WalkedContainer child{nextId_++, container.level + 1, ChildName(container, name)};
                listed_.push_back(
                    {child.id, container.id, std::string(name), ContainerDottedName(child), std::string(baseClass)});
                ++scan_.containers_;
            }
            ++scan_.objects_;
            observer_.EntryCounted(isContainer);
            return isContainer;
        }
        void ListingEnded(const WalkedContainer& container, NWDSCCODE code) override {
            scan_.incomplete_.Note(container, code);
            if (listed_.empty())
                return;
            observer_.ContainersListed(container.id, listed_);
            listed_.clear();
        }
        bool StopRequested() override { return observer_.StopRequested(); }

    private:
        ContainerScan& scan_;
        ContainerScanObserver& observer_;
        std::vector<ScannedContainer> listed_;
        std::size_t nextId_ = 1;
    };

    containers_ = 0;
    objects_ = 0;
    incomplete_ = IncompleteListings();
    Walk walk(*this, observer);
    return WalkTree(walk);
}
