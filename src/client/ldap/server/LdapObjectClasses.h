#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// The object classes of a server's schema: each class's kind and direct superclasses, by name with
// letter case folded. Starts with the standard classes the program meets everywhere, so that a
// server whose schema cannot be read still gets a sound answer; definitions read from the server
// replace them.
class ObjectClassSchema {
public:
    enum class Kind { Structural, Unknown, Auxiliary, Abstract }; // most telling first

    ObjectClassSchema();

    // Adds one class description as servers publish them in "objectClasses" (RFC 4512); false for a
    // text libldap cannot parse, which changes nothing.
    bool AddDefinition(const std::string& description);

    // The class of `classes` that names what the entry is: one that is no superclass of another class
    // in the set; structural before unknown, auxiliary and abstract ones; else the last listed. Empty
    // for an empty set.
    std::string MostSpecific(const std::vector<std::string>& classes) const;

    // Whether `ancestor` is a superclass of `descendant`, through any number of steps.
    bool IsSuperclass(std::string_view ancestor, std::string_view descendant) const;
    Kind KindOf(std::string_view name) const;
    // Whether the server's own schema defines the class `name` (not merely the standard definition).
    bool Published(std::string_view name) const;

private:
    struct ObjectClass {
        Kind kind = Kind::Unknown;
        std::vector<std::string> superiors; // folded names (or OIDs the schema did not name)
        bool published = false;             // read from the server
    };
    // Index of the definition `name` (folded, or an OID) names; definitions_.size() when none.
    std::size_t Find(std::string_view name) const;

    std::string FindMostSpecific(const std::vector<std::string>& classes) const;

    std::vector<ObjectClass> definitions_;
    std::unordered_map<std::string, std::size_t> names_; // folded names and OIDs
    // Answers of MostSpecific by the class list: the entries of a tree share a few lists.
    mutable std::unordered_map<std::string, std::string> answers_;
};
