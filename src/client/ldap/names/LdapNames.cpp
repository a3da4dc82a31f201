#include "client/ldap/names/LdapNames.h"

#include "client/ResultCodes.h"
#include "client/ldap/names/LdapDn.h"

#include <unordered_map>

namespace {
// The typed part that names `entry` below `parentDn`: its RDN's type and value, or at the top its
// whole DN split at the first "=". Nullopt when that part would not name the entry exactly (a
// multi-valued RDN, a DN that is not one).
std::optional<NamePart> TypedPart(const ListedEntry& entry, const std::string& parentDn) {
    NamePart part;
    if (parentDn.empty()) {
        const std::size_t equals = entry.dn.find('=');
        if (equals == std::string::npos)
            return std::nullopt;
        part = {entry.dn.substr(0, equals), entry.dn.substr(equals + 1)};
    } else {
        const auto leaf = LeafName(entry.dn);
        if (!leaf)
            return std::nullopt;
        part = {leaf->attribute, leaf->value};
    }
    if (!IsAttributeType(part.type) || part.value.empty())
        return std::nullopt;
    const auto named = TypedPartDn(parentDn, part.type, part.value);
    const auto namedNormalised = named ? NormaliseDn(*named) : std::nullopt;
    if (!namedNormalised || namedNormalised != NormaliseDn(entry.dn))
        return std::nullopt;
    return part;
}
} // namespace

std::vector<std::string> HandOutNames(const std::vector<ListedEntry>& entries, const std::string& parentDn) {
    std::unordered_map<std::string, int> sharing;
    for (const ListedEntry& entry : entries)
        ++sharing[FoldCase(entry.name)];
    std::vector<std::string> names;
    names.reserve(entries.size());
    for (const ListedEntry& entry : entries) {
        if (sharing[FoldCase(entry.name)] == 1) {
            names.push_back(EscapeNamePart(entry.name));
        } else {
            const auto typed = TypedPart(entry, parentDn);
            names.push_back(typed ? FormatNamePart(*typed) : std::string());
        }
    }
    return names;
}

std::optional<std::string> TypedPartDn(const std::string& parentDn, std::string_view type, std::string_view value) {
    if (parentDn.empty())
        return std::string(type) + "=" + std::string(value);
    return ChildDn(parentDn, type, value);
}

NWDSCCODE LdapNames::Resolve(const std::vector<NamePart>& path, KnownDn* container) {
    KnownDn current;
    for (const NamePart& part : path) {
        const bool top = current.dn.empty();
        // A typed part names one DN; a typeless one every child with its value.
        std::optional<std::string> typedDn;
        std::optional<std::string> wanted;
        if (!part.type.empty()) {
            typedDn = TypedPartDn(current.dn, part.type, part.value);
            wanted = typedDn ? NormaliseDn(*typedDn) : std::nullopt;
            if (!wanted)
                return rc::kIllegalName;
        }
        auto known = [&]() -> std::optional<std::vector<const KnownDn*>> {
            if (!wanted)
                return cache_.ByValue(current.normalised, part.value);
            if (const KnownDn* exact = cache_.Exact(current.normalised, *wanted))
                return std::vector<const KnownDn*>{exact};
            return std::nullopt;
        };
        auto matches = known();
        if (!matches || matches->empty()) {
            // A name not listed before, or not all of its namesakes known: ask the server.
            std::vector<ListedEntry> found;
            const int code = session_.Run([&](LDAP* ld) {
                const ObjectClassSchema& classes = session_.server().Classes(ld);
                if (top)
                    return ListNamingContexts(ld, classes, &found);
                if (typedDn)
                    return ReadEntryAt(ld, *typedDn, classes, &found);
                return FindChildren(ld, current.dn, part.value, session_.paging(), classes, &found);
            });
            if (code == LDAP_SUCCESS) {
                if (top)
                    cache_.RememberAll(current.normalised, found);
                else if (typedDn)
                    cache_.RememberSome(current.normalised, found);
                else
                    cache_.RememberSome(current.normalised, found, &part.value);
            }
            // A look-up cut short may have missed a namesake: refused, never guessed.
            if (code != LDAP_SUCCESS)
                return code;
            matches = known();
        }
        if (!matches || matches->empty())
            return LDAP_NO_SUCH_OBJECT;
        if (matches->size() > 1)
            return rc::kAmbiguousName;
        current = *matches->front();
    }
    *container = std::move(current);
    return rc::kSuccess;
}
