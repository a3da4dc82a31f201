#include "LdapRelay.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <list>
#include <vector>

namespace {
constexpr unsigned char kAddRequest = 0x68;  // [APPLICATION 8], constructed
constexpr unsigned char kAddResponse = 0x69; // [APPLICATION 9], constructed

sockaddr_un Address(const std::string& path) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
    return address;
}

// Length of the BER element's header at `offset` and of its content; false when not all there.
bool ElementSize(const std::string& data, std::size_t offset, std::size_t* header, std::size_t* content) {
    if (data.size() < offset + 2)
        return false;
    const auto first = static_cast<unsigned char>(data[offset + 1]);
    if (!(first & 0x80)) {
        *header = 2;
        *content = first;
        return true;
    }
    const std::size_t bytes = first & 0x7F;
    if (data.size() < offset + 2 + bytes)
        return false;
    *content = 0;
    for (std::size_t i = 0; i < bytes; ++i)
        *content = (*content << 8) | static_cast<unsigned char>(data[offset + 2 + i]);
    *header = 2 + bytes;
    return true;
}

// Takes the first whole LDAP message out of `data` into `message`; false when none is whole yet.
bool TakeMessage(std::string& data, std::string* message) {
    std::size_t header = 0;
    std::size_t content = 0;
    if (!ElementSize(data, 0, &header, &content) || data.size() < header + content)
        return false;
    *message = data.substr(0, header + content);
    data.erase(0, header + content);
    return true;
}

// The tag of a message's protocol operation: the element after the message ID.
unsigned char OperationTag(const std::string& message) {
    std::size_t header = 0;
    std::size_t content = 0;
    std::size_t idHeader = 0;
    std::size_t idContent = 0;
    if (!ElementSize(message, 0, &header, &content) || !ElementSize(message, header, &idHeader, &idContent))
        return 0;
    const std::size_t operation = header + idHeader + idContent;
    return operation < message.size() ? static_cast<unsigned char>(message[operation]) : 0;
}

bool SendAll(int socket, const std::string& data) {
    for (std::size_t sent = 0; sent < data.size();) {
        const ssize_t written = send(socket, data.data() + sent, data.size() - sent, MSG_NOSIGNAL);
        if (written <= 0)
            return false;
        sent += static_cast<std::size_t>(written);
    }
    return true;
}
} // namespace

struct LdapRelay::Pair {
    int client = -1;
    int server = -1;
    std::string fromClient;
    std::string fromServer;
    bool dropNextAddAnswer = false;
    bool holdAnswers = false;
    bool closed = false;

    void Close() {
        if (client >= 0)
            close(client);
        if (server >= 0)
            close(server);
        client = server = -1;
        closed = true;
    }
};

LdapRelay::LdapRelay(const std::string& serverSocket, const std::string& ownSocket)
    : serverSocket_(serverSocket), ownSocket_(ownSocket) {
    unlink(ownSocket_.c_str());
    listener_ = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const sockaddr_un address = Address(ownSocket_);
    if (listener_ < 0 || bind(listener_, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        listen(listener_, 16) != 0 || pipe(wake_) != 0) {
        error_ = std::string("relay cannot listen: ") + std::strerror(errno);
        return;
    }
    thread_ = std::thread([this] { Serve(); });
}

LdapRelay::~LdapRelay() {
    if (thread_.joinable()) {
        const char stop = 0;
        [[maybe_unused]] const ssize_t written = write(wake_[1], &stop, 1);
        thread_.join();
    }
    for (int fd : {listener_, wake_[0], wake_[1]}) {
        if (fd >= 0)
            close(fd);
    }
    unlink(ownSocket_.c_str());
}

std::string LdapRelay::uri() const {
    // The socket's path is the URI's host part, its slashes escaped.
    std::string path = ownSocket_;
    for (std::size_t at = path.find('/'); at != std::string::npos; at = path.find('/', at + 3))
        path.replace(at, 1, "%2F");
    return "ldapi://" + path + "/";
}

void LdapRelay::LoseAdd(int n, Loss loss, std::function<void()> onLoss) {
    std::lock_guard lock(mutex_);
    loseAt_ = adds_ + n;
    loss_ = loss;
    onLoss_ = std::move(onLoss);
}

int LdapRelay::adds() const {
    std::lock_guard lock(mutex_);
    return adds_;
}

LdapRelay::Loss LdapRelay::TakeLoss(bool* lose, std::function<void()>* onLoss) {
    std::lock_guard lock(mutex_);
    ++adds_;
    *lose = adds_ == loseAt_;
    if (*lose) {
        loseAt_ = 0;
        *onLoss = std::move(onLoss_);
        onLoss_ = nullptr;
    }
    return loss_;
}

void LdapRelay::Serve() {
    std::list<Pair> pairs;
    std::vector<char> chunk(65536);
    for (;;) {
        std::vector<pollfd> polled{{wake_[0], POLLIN, 0}, {listener_, POLLIN, 0}};
        std::vector<Pair*> owners{nullptr, nullptr};
        for (Pair& pair : pairs) {
            polled.push_back({pair.client, POLLIN, 0});
            polled.push_back({pair.server, POLLIN, 0});
            owners.push_back(&pair);
            owners.push_back(&pair);
        }
        if (poll(polled.data(), polled.size(), -1) < 0 && errno != EINTR)
            break;
        if (polled[0].revents)
            break;
        if (polled[1].revents & POLLIN) {
            Pair pair;
            pair.client = accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
            pair.server = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
            const sockaddr_un address = Address(serverSocket_);
            if (pair.client < 0 || pair.server < 0 ||
                connect(pair.server, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0)
                pair.Close();
            else
                pairs.push_back(std::move(pair));
        }
        std::function<void()> afterLoss;
        for (std::size_t i = 2; i < polled.size(); ++i) {
            Pair& pair = *owners[i];
            if (pair.closed || !(polled[i].revents & (POLLIN | POLLHUP | POLLERR)))
                continue;
            const bool fromClient = polled[i].fd == pair.client;
            const ssize_t got = recv(polled[i].fd, chunk.data(), chunk.size(), 0);
            if (got <= 0) {
                pair.Close();
                continue;
            }
            std::string& pending = fromClient ? pair.fromClient : pair.fromServer;
            pending.append(chunk.data(), static_cast<std::size_t>(got));
            std::string message;
            while (!pair.closed && TakeMessage(pending, &message)) {
                const unsigned char operation = OperationTag(message);
                if (fromClient && operation == kAddRequest) {
                    bool lose = false;
                    const Loss loss = TakeLoss(&lose, &afterLoss);
                    if (lose && loss == Loss::Request) {
                        pair.Close();
                        break;
                    }
                    pair.dropNextAddAnswer = lose && loss == Loss::Answer;
                    pair.holdAnswers = pair.holdAnswers || (lose && loss == Loss::HeldAnswer);
                } else if (!fromClient && pair.holdAnswers) {
                    continue;
                } else if (!fromClient && operation == kAddResponse && pair.dropNextAddAnswer) {
                    pair.Close();
                    break;
                }
                if (!SendAll(fromClient ? pair.server : pair.client, message))
                    pair.Close();
            }
        }
        pairs.remove_if([](const Pair& pair) { return pair.closed; });
        if (afterLoss)
            afterLoss();
    }
    for (Pair& pair : pairs)
        pair.Close();
}
