#pragma once

#include "client/ldap/connection/LdapHandles.h"

#include <functional>
#include <string>
#include <vector>

// The one search of the backend that may bring many entries: page by page, each page below every
// size limit the server has shown, so that containers larger than a server's size limit come whole.
// The first page is a plain search limited to a page's size by the client; only when there is more
// do the pages after it use the paged-results control.

// Entries asked for in the first page of a search: below the size limits servers ship with (2,000 on
// 389 Directory Server, 1,000 as Active Directory's MaxPageSize).
inline constexpr int kFirstPageSize = 500;
// A search that takes more pages than this ends with rc::kPagingRunaway.
inline constexpr int kMaxPages = 20000;

// What one connection has learnt about its server's paging.
struct PagingLimits {
    // Entries a page got before the server's size limit stopped it; 0 until that happened. Pages
    // ask for fewer from then on.
    int sizeLimit = 0;
    // The server refused the paged-results control: searches go without it.
    bool unpaged = false;
};

struct SearchRequest {
    std::string base;
    int scope = LDAP_SCOPE_ONELEVEL;
    std::string filter = "(objectClass=*)";
    std::vector<std::string> attributes; // empty for all user attributes
    // Entries a page asks for before any size limit was seen; a read of a whole tree asks for more.
    int pageSize = kFirstPageSize;
};

// Entries the first page of `request` asks for: its page size, below the size limit `limits` know.
int FirstPageSize(const SearchRequest& request, const PagingLimits& limits);

// Receives every entry once, in the order the server sent them, with its DN as the server spelt it.
using EntrySink = std::function<void(LDAP* ld, LDAPMessage* entry, const std::string& dn)>;

// Runs `request` page by page and hands every entry received to `sink`, also when the search is cut
// short. On sizeLimitExceeded it goes on from the last cookie with smaller pages (starting the search
// again where the server no longer takes that cookie), never handing out an entry twice, until a
// page of one entry is cut short too. Returns the LDAP result code of the search, or
// rc::kPagingRunaway when the server keeps sending pages: more than kMaxPages, or, with a cookie
// already seen, a page without entries or pages that bring back more old entries than there are.
int PagedSearch(LDAP* ld, const SearchRequest& request, PagingLimits& limits, const EntrySink& sink);
