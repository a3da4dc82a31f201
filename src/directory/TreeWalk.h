#pragma once

#include "client/ClientTypes.h"

#include <cstddef>
#include <string>
#include <string_view>

// A container the walk lists.
struct WalkedContainer {
    // 0 for the top of the tree; the containers a visitor adds are numbered on from 1, in the
    // order they are added.
    std::size_t id = 0;
    // Depth below the top: 0 for "[Root]", 1 for the containers directly below it.
    std::size_t level = 0;
    // The dotted name set as DirContext's name context and listed: "[Root]", an entry's own name
    // at level 1 ("Acme"), and below that "." with the name and its parent's (".East.Sales.Acme").
    std::string name;
};

// What a walk reports to its caller, who decides which entries are walked in turn.
class TreeWalkVisitor {
public:
    virtual ~TreeWalkVisitor() = default;

    // `container` is about to be listed; its name is DirContext's name context now.
    virtual void ListingStarts(const WalkedContainer& /*container*/) {}
    // One entry of `container`, in the order the directory delivered it. True adds it to the
    // walk as a container of its own, with the next number.
    virtual bool EntryListed(const WalkedContainer& container, std::string_view name, std::string_view baseClass) = 0;
    // The nonzero code that ended the listing of `container`: kListExhausted once every entry was
    // read, else the code of the step that failed (an empty container ends with its first read,
    // which finds no entry); see ListingFailed.
    virtual void ListingEnded(const WalkedContainer& /*container*/, NWDSCCODE /*code*/) {}
    // Asked before each container and after each ListNext, where window messages may have run:
    // true ends the walk at once, and the listing in progress gives back its context and buffer.
    virtual bool StopRequested() { return false; }
};

// Whether a listing that ended with `code` left its container listed incompletely: true for every
// code but the end of the listing (kListExhausted) and the client's "no entry left"
// (rc::kNoMoreEntries), with which the first read of an empty container ends.
bool ListingFailed(NWDSCCODE code);

// The container's dotted name without the scan's leading "." ("East.Sales.Acme", "[Root]").
std::string ContainerDottedName(const WalkedContainer& container);

// The name the walk gives the entry `entry` of `parent` when it walks it as a container.
std::string ChildName(const WalkedContainer& parent, std::string_view entry);

// The scan's walk of the tree from "[Root]", depth first: the containers a visitor adds are walked
// right after their own container, in the order they were listed. For each container,
// LastDirResult takes the result of setting DirContext's name context to its name, then of its
// listing with a TNDSObj cursor (ListFirst, then ListNext until a nonzero result).
// False when the visitor stopped the walk, true when it went through the whole tree.
bool WalkTree(TreeWalkVisitor& visitor);
