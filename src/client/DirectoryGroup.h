#pragma once

#include <cstdint>
#include <optional>
#include <string>

// A group a run's users can join, as the directory lists it.
struct DirectoryGroup {
    std::string name;      // the directory's own name: an LDAP DN, or the embedded dotted name from the top
    std::string label;     // its own name, as people call it ("Staff")
    std::string container; // where it lives, in the directory's own form
    // Its gidNumber where it has one (a posixGroup): the users' own group with a Linux login.
    std::optional<std::uint32_t> gidNumber = std::nullopt;
};

// A user joining a group: its login name (for groups that list login names) and its directory name
// (for groups that list members by name).
struct GroupMember {
    std::string loginName;
    std::string directoryName;
};
