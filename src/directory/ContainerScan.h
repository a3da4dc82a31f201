#pragma once

#include "client/ClientTypes.h"
#include "directory/IncompleteListings.h"
#include "directory/TreeWalk.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// A container the scan found.
struct ScannedContainer {
    std::size_t id = 0;       // the walk's number; the top of the tree is 0
    std::size_t parentId = 0; // the number of the container it was listed in
    std::string name;         // its entry name as listed (escaped), the text a tree shows
    // The directory's own dotted name of it, as SetNameContext and a run take it ("East.Sales.Acme"),
    // the bytes as listed: never rebuilt from a text shown.
    std::string dottedName;
    std::string baseClass;
};

// Whether an entry of `baseClass` is a container for the scan: Country, Organization or
// Organizational Unit, letter case included.
bool IsScannedContainerClass(std::string_view baseClass);

// A scan needs a logged-in identity: false, after saying so through Ui(), when DirContext's
// identity is "[Public]".
bool CheckScanIdentity();

// What a front end does while the scan walks; nothing by default.
class ContainerScanObserver {
public:
    virtual ~ContainerScanObserver() = default;
    // A container is about to be listed (a listing may take a while to start).
    virtual void ListingStarts() {}
    // One more entry was counted; `isContainer` when it is a container.
    virtual void EntryCounted(bool /*isContainer*/) {}
    // The containers listed in container `parentId`, once its listing has ended, in the order the
    // directory delivered them; none are reported before that.
    virtual void ContainersListed(std::size_t /*parentId*/, std::vector<ScannedContainer>& /*containers*/) {}
    // Asked where the walk may stop (see TreeWalkVisitor::StopRequested).
    virtual bool StopRequested() { return false; }
};

// The scan: walks the tree from "[Root]" (WalkTree), counts the objects and the containers, hands
// over the containers with their directory names and gathers what could not be listed.
class ContainerScan {
public:
    // False when the observer stopped the walk.
    bool Run(ContainerScanObserver& observer);

    std::int32_t Containers() const { return containers_; }
    std::int32_t Objects() const { return objects_; }
    // The end-of-scan message of what could not be listed; empty when all was listed.
    std::string IncompleteMessage() const { return incomplete_.Message(); }

private:
    std::int32_t containers_ = 0;
    std::int32_t objects_ = 0;
    IncompleteListings incomplete_;
};
