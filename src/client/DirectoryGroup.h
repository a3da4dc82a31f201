#pragma once

#include <string>

// A group a run's users can join, as the directory lists it.
struct DirectoryGroup {
    std::string name;      // the directory's own name: an LDAP DN, or the embedded dotted name from the top
    std::string label;     // its own name, as people call it ("Staff")
    std::string container; // where it lives, in the directory's own form
};

// A user joining a group: its login name (for groups that list login names) and its directory name
// (for groups that list members by name).
struct GroupMember {
    std::string loginName;
    std::string directoryName;
};
