#include "LdapNames.h"

#include "ResultCodes.h"

NWDSCCODE LdapNames::Resolve(const std::vector<std::string>& path, KnownDn* container) {
    KnownDn current;
    for (std::size_t i = 0; i < path.size(); ++i) {
        const KnownDn* child = cache_.Lookup(current.normalised, path[i]);
        if (!child) {
            // A name not listed before: ask the server, then look again.
            std::vector<ListedEntry> found;
            const int code = session_.Run([&](LDAP* ld) {
                const ObjectClassSchema& classes = session_.server().Classes(ld);
                return i == 0 ? ListNamingContexts(ld, classes, &found)
                              : FindChildren(ld, current.dn, path[i], session_.paging(), classes, &found);
            });
            if (code != LDAP_SUCCESS)
                return code;
            cache_.Remember(current.normalised, found);
            child = cache_.Lookup(current.normalised, path[i]);
            if (!child)
                return LDAP_NO_SUCH_OBJECT;
        }
        current = *child;
    }
    *container = std::move(current);
    return rc::kSuccess;
}
