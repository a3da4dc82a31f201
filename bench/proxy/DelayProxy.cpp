#include "DelayProxy.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <deque>
#include <list>
#include <vector>

namespace {
using Clock = std::chrono::steady_clock;

// Bytes read in one go from one side before the other sockets get their turn.
constexpr std::size_t kReadSlice = 256 * 1024;

void Configure(int fd) {
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
    const int on = 1;
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
}

sockaddr_in Loopback(int port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

// What one side sent, due at the other side at `due`; an empty chunk with `end` set passes on
// the sender's end of stream.
struct Chunk {
    Clock::time_point due;
    std::string data;
    std::size_t sent = 0;
    bool end = false;
};

// One direction of a connection: read from `from`, held, written to `to`.
struct Direction {
    int from = -1;
    int to = -1;
    std::deque<Chunk> queue;
    bool readDone = false;
    bool writeDone = false;
    bool blocked = false; // the last write would have blocked: wait until `to` is writable

    // Reads what is there, stamped with its due time.
    void Read(Clock::time_point due) {
        char buffer[64 * 1024];
        std::size_t total = 0;
        while (!readDone && total < kReadSlice) {
            const ssize_t got = read(from, buffer, sizeof buffer);
            if (got > 0) {
                queue.push_back({due, std::string(buffer, static_cast<std::size_t>(got))});
                total += static_cast<std::size_t>(got);
            } else if (got < 0 && (errno == EAGAIN || errno == EINTR)) {
                return;
            } else {
                readDone = true;
                queue.push_back({due, {}, 0, true});
            }
        }
    }

    // Writes every chunk that is due, as far as the socket takes it.
    void Flush(Clock::time_point now) {
        blocked = false;
        while (!queue.empty() && !writeDone && queue.front().due <= now) {
            Chunk& chunk = queue.front();
            if (chunk.end) {
                shutdown(to, SHUT_WR);
                writeDone = true;
                queue.pop_front();
                break;
            }
            const ssize_t put = send(to, chunk.data.data() + chunk.sent, chunk.data.size() - chunk.sent, MSG_NOSIGNAL);
            if (put < 0) {
                if (errno == EAGAIN || errno == EINTR) {
                    blocked = true;
                    return;
                }
                writeDone = readDone = true;
                queue.clear();
                return;
            }
            chunk.sent += static_cast<std::size_t>(put);
            if (chunk.sent == chunk.data.size())
                queue.pop_front();
        }
    }
};

struct Link {
    Direction up;   // client to server
    Direction down; // server to client
    bool Finished() const { return up.writeDone && down.writeDone; }
};
} // namespace

DelayProxy::DelayProxy(int targetPort, std::chrono::microseconds roundTrip)
    : targetPort_(targetPort), oneWay_(roundTrip / 2) {
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) {
        error_ = std::strerror(errno);
        return;
    }
    wakeRead_ = pipeEnds[0];
    wakeWrite_ = pipeEnds[1];
    listener_ = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address = Loopback(0);
    socklen_t length = sizeof address;
    if (listener_ < 0 || bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        listen(listener_, 16) != 0 || getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        error_ = std::strerror(errno);
        return;
    }
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this] { Run(); });
}

DelayProxy::~DelayProxy() {
    stop_ = true;
    if (wakeWrite_ >= 0) {
        const char wake = 0;
        [[maybe_unused]] const ssize_t written = write(wakeWrite_, &wake, 1);
    }
    if (thread_.joinable())
        thread_.join();
    for (const int fd : {listener_, wakeRead_, wakeWrite_}) {
        if (fd >= 0)
            close(fd);
    }
}

void DelayProxy::Run() {
    std::list<Link> links;
    std::vector<pollfd> fds;
    while (!stop_) {
        const Clock::time_point now = Clock::now();
        // Wait for input, for a blocked write, or for the next chunk to fall due.
        fds.clear();
        fds.push_back({wakeRead_, POLLIN, 0});
        fds.push_back({listener_, POLLIN, 0});
        Clock::time_point next = Clock::time_point::max();
        for (Link& link : links) {
            for (Direction* direction : {&link.up, &link.down}) {
                if (!direction->readDone)
                    fds.push_back({direction->from, POLLIN, 0});
                if (direction->blocked)
                    fds.push_back({direction->to, POLLOUT, 0});
                else if (!direction->queue.empty() && !direction->writeDone)
                    next = std::min(next, direction->queue.front().due);
            }
        }
        timespec timeout{};
        timespec* wait = nullptr;
        if (next != Clock::time_point::max()) {
            const auto left = std::max(Clock::duration::zero(), next - now);
            const auto nanoseconds = std::chrono::duration_cast<std::chrono::nanoseconds>(left).count();
            timeout.tv_sec = static_cast<time_t>(nanoseconds / 1000000000);
            timeout.tv_nsec = static_cast<long>(nanoseconds % 1000000000);
            wait = &timeout;
        }
        if (ppoll(fds.data(), fds.size(), wait, nullptr) < 0 && errno != EINTR)
            break;
        if (stop_)
            break;

        const Clock::time_point arrived = Clock::now();
        if (fds[1].revents & POLLIN) {
            const int client = accept(listener_, nullptr, nullptr);
            if (client >= 0) {
                const int server = socket(AF_INET, SOCK_STREAM, 0);
                const sockaddr_in target = Loopback(targetPort_);
                if (server >= 0 && connect(server, reinterpret_cast<const sockaddr*>(&target), sizeof target) == 0) {
                    Configure(client);
                    Configure(server);
                    Link& link = links.emplace_back();
                    link.up.from = link.down.to = client;
                    link.down.from = link.up.to = server;
                } else {
                    close(client);
                    if (server >= 0)
                        close(server);
                }
            }
        }
        // Every socket is read whenever it has something; a closed or failed one reads as its end.
        for (std::size_t i = 2; i < fds.size(); ++i) {
            if (!(fds[i].revents & (POLLIN | POLLHUP | POLLERR)))
                continue;
            for (Link& link : links) {
                for (Direction* direction : {&link.up, &link.down}) {
                    if (direction->from == fds[i].fd && !direction->readDone)
                        direction->Read(arrived + oneWay_);
                }
            }
        }
        const Clock::time_point flushed = Clock::now();
        for (auto link = links.begin(); link != links.end();) {
            link->up.Flush(flushed);
            link->down.Flush(flushed);
            if (link->Finished()) {
                close(link->up.from);
                close(link->up.to);
                link = links.erase(link);
            } else {
                ++link;
            }
        }
    }
    for (Link& link : links) {
        close(link.up.from);
        close(link.up.to);
    }
}
