#pragma once

#include <functional>
#include <mutex>
#include <string>
#include <thread>

// A relay on a socket of its own between the client under test and slapd's ldapi socket, for
// adds whose answers never arrive. It passes LDAP messages both ways whole and can lose the n-th
// add request it relays: drop the request unsent, drop the server's answer (the add is applied,
// but the connection closes before the answer reaches the client), or hold the answer back (the
// client's operation times out). One thread of its own serves every connection.
class LdapRelay {
public:
    enum class Loss { Request, Answer, HeldAnswer };

    // Listens on `ownSocket` and connects each client to `serverSocket`.
    LdapRelay(const std::string& serverSocket, const std::string& ownSocket);
    LdapRelay(const LdapRelay&) = delete;
    LdapRelay& operator=(const LdapRelay&) = delete;
    ~LdapRelay();

    // Empty when the relay listens, else why not.
    const std::string& error() const { return error_; }
    // The ldapi URI of the relay's own socket.
    std::string uri() const;

    // Loses the `n`-th add request from now on (1: the next one) as `loss` says. `onLoss` runs in
    // the relay's thread once that request has been dropped or passed on, before anything else is
    // relayed or any new connection is served.
    void LoseAdd(int n, Loss loss, std::function<void()> onLoss = {});
    // Add requests the client sent through the relay so far, lost ones included.
    int adds() const;

private:
    struct Pair;
    void Serve();
    // What to do with the add request just counted; the loss is used up.
    Loss TakeLoss(bool* lose, std::function<void()>* onLoss);

    std::string serverSocket_;
    std::string ownSocket_;
    std::string error_;
    int listener_ = -1;
    int wake_[2] = {-1, -1};
    mutable std::mutex mutex_;
    int adds_ = 0;
    int loseAt_ = 0;
    Loss loss_ = Loss::Request;
    std::function<void()> onLoss_;
    std::thread thread_;
};
