#include "client/ldap/scanread/LdapScanRead.h"

#include "client/SchemaNames.h"
#include "client/ldap/connection/LdapSession.h"
#include "client/ldap/names/LdapDn.h"

#include <fcntl.h>
#include <sys/socket.h>

#include <algorithm>

namespace {
// Entries a page of the read asks for: a whole tree comes in few round trips, and a page's
// messages stay a few megabytes. Servers with a lower limit get smaller pages (PagedSearch).
constexpr int kReadPageSize = 10000;

bool SameListing(const std::vector<ListedEntry>& a, const std::vector<ListedEntry>& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const ListedEntry& x, const ListedEntry& y) {
        return x.dn == y.dn && x.name == y.name && x.baseClass == y.baseClass;
    });
}
} // namespace

ScanRead::~ScanRead() {
    Cancel();
}

void ScanRead::Start(const LdapSettings& settings, const PagingLimits& paging, LdapServerKind kind,
                     ObjectClassSchema classes, const std::vector<ListedEntry>& contexts) {
    Cancel();
    cancelled_ = false;
    {
        const std::lock_guard lock(mutex_);
        running_ = true;
    }
    thread_ = std::thread(&ScanRead::Read, this, settings, paging, SiblingOrderOf(kind), std::move(classes), contexts);
}

bool ScanRead::WaitEnded(std::chrono::milliseconds wait) {
    std::unique_lock lock(mutex_);
    return ended_.wait_for(lock, wait, [this] { return !running_; });
}

std::optional<std::vector<ListedEntry>> ScanRead::Take(const std::string& normalised) {
    const std::lock_guard lock(mutex_);
    auto found = held_.find(normalised);
    if (found == held_.end())
        return std::nullopt;
    std::vector<ListedEntry> children = std::move(found->second);
    held_.erase(found);
    return children;
}

void ScanRead::Cancel() {
    {
        const std::lock_guard lock(mutex_);
        cancelled_ = true;
        // The reading thread's search fails at once; it owns the connection and closes it.
        if (socket_)
            shutdown(socket_.get(), SHUT_RDWR);
    }
    if (thread_.joinable())
        thread_.join();
    const std::lock_guard lock(mutex_);
    held_.clear();
    running_ = false;
}

void ScanRead::NoteSocket(int socket) {
    const std::lock_guard lock(mutex_);
    // A duplicate of our own: it names this connection even after libldap has closed its
    // descriptor and the number went to another socket.
    socket_.reset(socket >= 0 ? fcntl(socket, F_DUPFD_CLOEXEC, 0) : -1);
    if (cancelled_ && socket_)
        shutdown(socket_.get(), SHUT_RDWR);
}

void ScanRead::Read(LdapSettings settings, PagingLimits paging, SiblingOrder order, ObjectClassSchema classes,
                    std::vector<ListedEntry> contexts) {
    {
        LdapSession session(std::move(settings));
        session.paging() = paging;
        // Every operation notes the connection it runs on, which may be a fresh one.
        const auto run = [&](const std::function<int(LDAP*)>& operation) {
            return session.Run([&](LDAP* ld) {
                if (cancelled_)
                    return LDAP_USER_CANCELLED;
                int socket = -1;
                if (ldap_get_option(ld, LDAP_OPT_DESC, &socket) != LDAP_OPT_SUCCESS)
                    socket = -1;
                NoteSocket(socket);
                return operation(ld);
            });
        };
        const int code = session.Initialise();
        for (const ListedEntry& context : contexts) {
            if (code != LDAP_SUCCESS || cancelled_)
                break;
            // A top that is no container is never listed by a scan.
            const auto top = NormaliseDn(context.dn);
            if (!top || !IsContainerClass(context.baseClass))
                continue;
            TreeRead read(order, classes);
            SearchRequest request = ListingRequest(context.dn, LDAP_SCOPE_SUBTREE);
            request.pageSize = kReadPageSize;
            if (order == SiblingOrder::ByObjectGuid)
                request.attributes.emplace_back("objectGUID");
            const int searched = run([&](LDAP* ld) {
                return PagedSearch(
                    ld, request, session.paging(),
                    [&read](LDAP* l, LDAPMessage* entry, const std::string& dn) { read.Add(l, entry, dn); });
            });
            // A one-level listing's first page is as large as the smaller of the two connections' allows.
            const SearchRequest oneLevel = ListingRequest(context.dn, LDAP_SCOPE_ONELEVEL);
            const int firstPage = std::min(FirstPageSize(oneLevel, paging), FirstPageSize(oneLevel, session.paging()));
            HeldListings listings = read.Finish(cancelled_ ? LDAP_USER_CANCELLED : searched, firstPage);
            if (IsConnectionLoss(searched))
                break;

            // The top's listing as a one-level search gives it: where the read's differs, the order
            // taken for this server does not hold here, and nothing of this context is served.
            if (const auto held = listings.find(*top); held != listings.end()) {
                std::vector<ListedEntry> probe;
                const int probed =
                    run([&](LDAP* ld) { return ListOneLevel(ld, context.dn, session.paging(), classes, &probe); });
                if (probed != LDAP_SUCCESS || !SameListing(probe, held->second))
                    listings.clear();
            }
            // The window may wait for this lock: a first context goes over without a copy.
            const std::lock_guard lock(mutex_);
            if (cancelled_)
                continue;
            if (held_.empty())
                held_.swap(listings);
            else
                held_.merge(listings);
        }
        NoteSocket(-1);
    }
    const std::lock_guard lock(mutex_);
    running_ = false;
    ended_.notify_all();
}
