#include "client/ldap/server/LdapObjectClasses.h"

#include "client/CHandle.h"
#include "client/ldap/names/LdapDn.h"

#include <ldap_schema.h>

#include <array>

namespace {
using ObjectClassPtr = CHandle<LDAPObjectClass, ldap_objectclass_free>;

struct StandardClass {
    const char* name;
    ObjectClassSchema::Kind kind;
    const char* superior; // null for none
};

using enum ObjectClassSchema::Kind;
// The classes of RFC 4519, 4524, 2798, 2307 and Active Directory that the program meets in the
// trees it browses, as those schemas define them.
constexpr std::array<StandardClass, 22> kStandardClasses{{
    {"top", Abstract, nullptr},
    {"alias", Structural, "top"},
    {"country", Structural, "top"},
    {"locality", Structural, "top"},
    {"organization", Structural, "top"},
    {"organizationalUnit", Structural, "top"},
    {"domain", Structural, "top"},
    {"domainDNS", Structural, "domain"},
    {"container", Structural, "top"},
    {"person", Structural, "top"},
    {"organizationalPerson", Structural, "person"},
    {"inetOrgPerson", Structural, "organizationalPerson"},
    {"user", Structural, "organizationalPerson"},
    {"computer", Structural, "user"},
    {"groupOfNames", Structural, "top"},
    {"device", Structural, "top"},
    {"account", Structural, "top"},
    {"dcObject", Auxiliary, "top"},
    {"uidObject", Auxiliary, "top"},
    {"extensibleObject", Auxiliary, "top"},
    {"simpleSecurityObject", Auxiliary, "top"},
    {"posixAccount", Auxiliary, "top"},
}};

ObjectClassSchema::Kind KindFromSchema(int kind) {
    switch (kind) {
    case LDAP_SCHEMA_ABSTRACT:
        return Abstract;
    case LDAP_SCHEMA_STRUCTURAL:
        return Structural;
    case LDAP_SCHEMA_AUXILIARY:
        return Auxiliary;
    default:
        return Unknown;
    }
}
} // namespace

ObjectClassSchema::ObjectClassSchema() {
    for (const StandardClass& standard : kStandardClasses) {
        ObjectClass definition{standard.kind, {}};
        if (standard.superior)
            definition.superiors.push_back(FoldCase(standard.superior));
        names_[FoldCase(standard.name)] = definitions_.size();
        definitions_.push_back(std::move(definition));
    }
}

bool ObjectClassSchema::AddDefinition(const std::string& description) {
    int code = 0;
    const char* error = nullptr;
    const ObjectClassPtr parsed(ldap_str2objectclass(description.c_str(), &code, &error, LDAP_SCHEMA_ALLOW_ALL));
    if (!parsed)
        return false;
    ObjectClass definition{KindFromSchema(parsed->oc_kind), {}, true};
    for (char** superior = parsed->oc_sup_oids; superior && *superior; ++superior)
        definition.superiors.push_back(FoldCase(*superior));
    const std::size_t index = definitions_.size();
    definitions_.push_back(std::move(definition));
    answers_.clear();
    for (char** name = parsed->oc_names; name && *name; ++name)
        names_.insert_or_assign(FoldCase(*name), index);
    if (parsed->oc_oid)
        names_.insert_or_assign(parsed->oc_oid, index);
    return true;
}

std::size_t ObjectClassSchema::Find(std::string_view name) const {
    const auto it = names_.find(FoldCase(name));
    return it == names_.end() ? definitions_.size() : it->second;
}

ObjectClassSchema::Kind ObjectClassSchema::KindOf(std::string_view name) const {
    const std::size_t index = Find(name);
    return index < definitions_.size() ? definitions_[index].kind : Unknown;
}

bool ObjectClassSchema::Published(std::string_view name) const {
    const std::size_t index = Find(name);
    return index < definitions_.size() && definitions_[index].published;
}

bool ObjectClassSchema::IsSuperclass(std::string_view ancestor, std::string_view descendant) const {
    const std::string wanted = FoldCase(ancestor);
    const std::size_t wantedIndex = Find(wanted);
    std::vector<std::size_t> pending{Find(descendant)};
    // Chains are short; the bound only guards against a cycle in a broken schema.
    for (std::size_t step = 0; step < pending.size() && step < 256; ++step) {
        if (pending[step] >= definitions_.size())
            continue;
        for (const std::string& superior : definitions_[pending[step]].superiors) {
            const std::size_t index = Find(superior);
            // A superior may be named by its OID or by any of its names.
            if (superior == wanted || (index < definitions_.size() && index == wantedIndex))
                return true;
            pending.push_back(index);
        }
    }
    return false;
}
std::string ObjectClassSchema::MostSpecific(const std::vector<std::string>& classes) const {
    std::string key;
    for (const std::string& name : classes) {
        key += name;
        key += '\0';
    }
    if (const auto known = answers_.find(key); known != answers_.end())
        return known->second;
    // A bound for a server whose entries all differ.
    if (answers_.size() >= 4096)
        answers_.clear();
    return answers_.emplace(std::move(key), FindMostSpecific(classes)).first->second;
}

std::string ObjectClassSchema::FindMostSpecific(const std::vector<std::string>& classes) const {
    std::string best;
    Kind bestKind = Abstract;
    for (const std::string& candidate : classes) {
        const std::string folded = FoldCase(candidate);
        bool superclass = false;
        for (const std::string& other : classes) {
            if (FoldCase(other) != folded && IsSuperclass(candidate, other)) {
                superclass = true;
                break;
            }
        }
        if (superclass)
            continue;
        const Kind kind = KindOf(candidate);
        if (best.empty() || kind <= bestKind) {
            best = candidate;
            bestKind = kind;
        }
    }
    return best;
}
