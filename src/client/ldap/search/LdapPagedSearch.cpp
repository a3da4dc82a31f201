#include "client/ldap/search/LdapPagedSearch.h"

#include "client/ResultCodes.h"
#include "client/ldap/connection/LdapSession.h"

#include <algorithm>
#include <array>
#include <optional>
#include <unordered_set>

namespace {
std::vector<char*> AttributeList(const SearchRequest& request) {
    std::vector<char*> list;
    list.reserve(request.attributes.size() + 1);
    for (const std::string& attribute : request.attributes)
        list.push_back(const_cast<char*>(attribute.c_str()));
    list.push_back(nullptr);
    return list;
}

int Search(LDAP* ld, const SearchRequest& request, char** attributes, LDAPControl** controls, int sizeLimit,
           LdapMessagePtr* result) {
    LDAPMessage* raw = nullptr;
    const int code = ldap_search_ext_s(ld, request.base.c_str(), request.scope, request.filter.c_str(),
                                       request.attributes.empty() ? nullptr : attributes, 0, controls, nullptr, nullptr,
                                       sizeLimit, &raw);
    result->reset(raw);
    return code;
}

// The cookie of the page the server answered with; nullopt when it sent no paged-results control.
int ReadCookie(LDAP* ld, LDAPMessage* result, std::optional<std::string>* cookie) {
    LDAPMessage* done = ldap_first_message(ld, result);
    while (done && ldap_msgtype(done) != LDAP_RES_SEARCH_RESULT)
        done = ldap_next_message(ld, done);
    if (!done)
        return LDAP_OTHER;
    LDAPControl** rawControls = nullptr;
    int resultCode = LDAP_SUCCESS;
    if (const int parsed = ldap_parse_result(ld, done, &resultCode, nullptr, nullptr, nullptr, &rawControls, 0);
        parsed != LDAP_SUCCESS)
        return parsed;
    const LdapControlsPtr controls(rawControls);
    LDAPControl* response = ldap_control_find(LDAP_CONTROL_PAGEDRESULTS, controls.get(), nullptr);
    if (!response) {
        cookie->reset();
        return LDAP_SUCCESS;
    }
    ber_int_t estimate = 0;
    berval next{};
    const int parsed = ldap_parse_pageresponse_control(ld, response, &estimate, &next);
    const BerMemoryPtr owned(next.bv_val);
    if (parsed != LDAP_SUCCESS)
        return parsed;
    cookie->emplace(owned ? owned.get() : "", owned ? next.bv_len : 0);
    return LDAP_SUCCESS;
}

// Hands entries to the sink once each. Once a search was cut short the same entries may come again
// (a server may even take the old cookie as the start of a new search, as 389 Directory Server
// does): from then on entries already handed out are passed over, known by a hash of their DN.
class Delivery {
public:
    explicit Delivery(const EntrySink& sink) : sink_(sink) {}

    struct Page {
        int received = 0; // entries the page held
        int fresh = 0;    // of them, entries not received before
    };
    // Hands out the entries of `result`.
    Page Deliver(LDAP* ld, LDAPMessage* result) {
        Page page;
        // A search that failed before any answer came (the server went away) has no result at all.
        if (!result)
            return page;
        for (LDAPMessage* entry = ldap_first_entry(ld, result); entry; entry = ldap_next_entry(ld, entry)) {
            ++page.received;
            const LdapStringPtr rawDn(ldap_get_dn(ld, entry));
            if (!rawDn)
                continue;
            const std::string dn(rawDn.get());
            const bool repeated = !seen_.insert(std::hash<std::string>{}(dn)).second;
            page.fresh += repeated ? 0 : 1;
            if (!repeated || !skipRepeats_)
                sink_(ld, entry, dn);
        }
        return page;
    }
    void SkipRepeats() { skipRepeats_ = true; }
    // Entries received so far, each counted once.
    std::size_t distinct() const { return seen_.size(); }

private:
    const EntrySink& sink_;
    std::unordered_set<std::size_t> seen_;
    bool skipRepeats_ = false;
};

// After a page of `*pageSize` ended in sizeLimitExceeded with `received` entries: pages ask for
// fewer than the server let through, else for half as many. A page that stopped short with a fresh
// search shows the server's limit, which later searches stay below. False when no smaller page is left.
bool ShrinkPage(int received, bool freshSearch, int* pageSize, PagingLimits& limits) {
    if (*pageSize <= 1)
        return false;
    if (received > 0 && received < *pageSize) {
        if (freshSearch)
            limits.sizeLimit = limits.sizeLimit > 0 ? std::min(limits.sizeLimit, received) : received;
        *pageSize = std::max(received - 1, 1);
    } else {
        *pageSize /= 2;
    }
    return true;
}

// The pages after the first, with the paged-results control.
int NextPages(LDAP* ld, const SearchRequest& request, char** attributes, int pageSize, PagingLimits& limits,
              Delivery& delivery) {
    std::string cookie;
    std::unordered_set<std::string> cookies;
    bool afterLimit = false;
    // Entries received again since the last page that brought a new one. A search started again
    // from the top brings back at most every entry once; a server sending the same page over and
    // over brings back more.
    std::size_t repeated = 0;
    for (int page = 1; page < kMaxPages; ++page) {
        berval cookieValue{static_cast<ber_len_t>(cookie.size()), cookie.data()};
        LDAPControl* rawControl = nullptr;
        if (const int code = ldap_create_page_control(ld, pageSize, &cookieValue, 1, &rawControl); code != LDAP_SUCCESS)
            return code;
        const LdapControlPtr control(rawControl);
        std::array<LDAPControl*, 2> controls{control.get(), nullptr};
        LdapMessagePtr result;
        int code = Search(ld, request, attributes, controls.data(), LDAP_NO_LIMIT, &result);
        if (code == LDAP_UNAVAILABLE_CRITICAL_EXTENSION && page == 1) {
            // No paging here: all the server gives at once is all there is.
            limits.unpaged = true;
            code = Search(ld, request, attributes, nullptr, LDAP_NO_LIMIT, &result);
            delivery.Deliver(ld, result.get());
            return code;
        }
        const Delivery::Page received = delivery.Deliver(ld, result.get());
        repeated = received.fresh > 0 ? 0 : repeated + static_cast<std::size_t>(received.received);

        if (code == LDAP_SIZELIMIT_EXCEEDED) {
            if (!ShrinkPage(received.received, cookie.empty(), &pageSize, limits))
                return code;
            afterLimit = true;
            continue; // from the same cookie
        }
        if (code != LDAP_SUCCESS) {
            // Right after a page was cut short, the server may have dropped the search the cookie names.
            if (afterLimit && !cookie.empty() && !IsConnectionLoss(code)) {
                cookie.clear();
                continue;
            }
            return code;
        }
        afterLimit = false;
        std::optional<std::string> next;
        if (const int parsed = ReadCookie(ld, result.get(), &next); parsed != LDAP_SUCCESS)
            return parsed;
        if (!next || next->empty())
            return LDAP_SUCCESS;
        // 389 Directory Server and Samba send the same cookie with every page of a search, so only a
        // page that also brought nothing new shows a server going round in circles.
        const bool knownCookie = !cookies.insert(*next).second;
        if (knownCookie && received.fresh == 0 && (received.received == 0 || repeated > delivery.distinct()))
            return rc::kPagingRunaway;
        cookie = std::move(*next);
    }
    return rc::kPagingRunaway;
}
} // namespace

int FirstPageSize(const SearchRequest& request, const PagingLimits& limits) {
    const int wanted = std::max(request.pageSize, 1);
    return limits.sizeLimit > 0 ? std::clamp(limits.sizeLimit - 1, 1, wanted) : wanted;
}

int PagedSearch(LDAP* ld, const SearchRequest& request, PagingLimits& limits, const EntrySink& sink) {
    std::vector<char*> attributes = AttributeList(request);
    Delivery delivery(sink);
    int pageSize = FirstPageSize(request, limits);
    // The first page goes without the control, limited to a page's size by our own request: slapd
    // serves a one-level search with the control about a hundred times slower than without, and most
    // containers fit one page.
    LdapMessagePtr result;
    const int code =
        Search(ld, request, attributes.data(), nullptr, limits.unpaged ? LDAP_NO_LIMIT : pageSize, &result);
    const int received = delivery.Deliver(ld, result.get()).received;
    if (code != LDAP_SIZELIMIT_EXCEEDED || limits.unpaged)
        return code;
    // Stopped by our own limit (the container holds more), or by the server's.
    if (received < pageSize && !ShrinkPage(received, true, &pageSize, limits))
        return code;
    result.reset();
    delivery.SkipRepeats();
    return NextPages(ld, request, attributes.data(), pageSize, limits, delivery);
}
