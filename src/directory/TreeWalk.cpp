#include "directory/TreeWalk.h"

#include "client/ResultCodes.h"
#include "directory/SharedContext.h"
#include "directory/TNDSObj.h"

#include <iterator>
#include <vector>

std::string ChildName(const WalkedContainer& parent, std::string_view entry) {
    if (parent.level == 0)
        return std::string(entry);
    std::string name = ".";
    name += entry;
    if (parent.level == 1)
        name += '.';
    name += parent.name;
    return name;
}

bool ListingFailed(NWDSCCODE code) {
    return code != kListExhausted && code != rc::kNoMoreEntries;
}

std::string ContainerDottedName(const WalkedContainer& container) {
    return container.level >= 2 ? container.name.substr(1) : container.name;
}

bool WalkTree(TreeWalkVisitor& visitor) {
    // Children go on the stack last to first, so the first child is walked next: the order of
    // the tree's flat positions, without counting the nodes afresh for every container.
    std::vector<WalkedContainer> pending{{0, 0, kRootName}};
    std::vector<WalkedContainer> children;
    std::size_t nextId = 1;
    TNDSObj cursor;
    while (!pending.empty()) {
        if (visitor.StopRequested())
            return false;
        const WalkedContainer container = std::move(pending.back());
        pending.pop_back();
        LastDirResult = SetNameContext(DirContext, container.name);
        visitor.ListingStarts(container);
        children.clear();
        LastDirResult = ListFirst(container.name, cursor);
        while (LastDirResult == 0) {
            if (visitor.EntryListed(container, cursor.EntryName, cursor.BaseClass()))
                children.push_back({nextId++, container.level + 1, ChildName(container, cursor.EntryName)});
            LastDirResult = ListNext(cursor);
            if (visitor.StopRequested())
                return false;
        }
        visitor.ListingEnded(container, LastDirResult);
        pending.insert(pending.end(), std::make_move_iterator(children.rbegin()),
                       std::make_move_iterator(children.rend()));
    }
    return true;
}
