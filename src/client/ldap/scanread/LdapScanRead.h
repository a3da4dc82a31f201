#pragma once

#include "client/FileDescriptor.h"
#include "client/ldap/connection/LdapSettings.h"
#include "client/ldap/scanread/LdapTreeRead.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>

// The tree read once for a scan, so that listing a container costs no round trip: one paged
// subtree search per naming context, on a connection and a thread of its own, handed over context
// by context. A container's children are served once, then dropped, so memory shrinks as the scan
// goes and a second listing of the same container asks the server again. Containers the read
// cannot vouch for are not held: their listings go to the server one level as before.
class ScanRead {
public:
    ScanRead() = default;
    ScanRead(const ScanRead&) = delete;
    ScanRead& operator=(const ScanRead&) = delete;
    ~ScanRead();

    // Starts the read of a new scan below `contexts` (the top's listing), binding as `settings`
    // say; whatever an older read held is dropped. What the listings' connection knows of the
    // server comes along: its size limits (`paging`), its kind and its object classes.
    void Start(const LdapSettings& settings, const PagingLimits& paging, LdapServerKind kind, ObjectClassSchema classes,
               const std::vector<ListedEntry>& contexts);
    // Waits at most `wait` for the read to end; true when no read runs (any more).
    bool WaitEnded(std::chrono::milliseconds wait);
    // The children of the container of normalised DN `normalised` when the read holds them whole,
    // in the order a one-level search gives them; they are handed out once.
    std::optional<std::vector<ListedEntry>> Take(const std::string& normalised);
    // Ends a read in progress at once and drops everything held.
    void Cancel();

private:
    void Read(LdapSettings settings, PagingLimits paging, SiblingOrder order, ObjectClassSchema classes,
              std::vector<ListedEntry> contexts);
    // Notes the socket of the reading connection, which Cancel() shuts down (-1: none).
    void NoteSocket(int socket);

    std::mutex mutex_;
    std::condition_variable ended_;
    bool running_ = false;
    FileDescriptor socket_;
    HeldListings held_;
    std::atomic<bool> cancelled_{false};
    std::thread thread_;
};
