#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// How the users of a run get their passwords.
struct PasswordPlan {
    enum class Mode { None, One, Random };

    Mode mode = Mode::None;
    std::string password; // Mode::One, UTF-8
    int length = 0;       // Mode::Random
    bool mustChange = false;
};

// A run as its front end read it: the container and the fields as typed.
struct CreationRequest {
    std::string container; // the directory's own dotted name of the container ("[Root]", "East.Sales.Acme")
    std::string loginName; // UTF-8
    std::string lastName;  // UTF-8
    // Number fields, one byte a character (a character beyond Latin-1 as any byte that is no digit).
    std::string count;
    std::string index;
    std::string digits;
    PasswordPlan passwords;
};

// One user the run made.
struct CreatedUser {
    std::string loginName;
    std::string lastName;
    std::string container; // as the request named it
    std::string password;  // empty when none was set
};

// What a front end does at the run's steps; every step has nothing to do by default.
class CreationRunObserver {
public:
    virtual ~CreationRunObserver() = default;
    // The container is DirContext's name context now; the fields are read next.
    virtual void NameContextSet() {}
    // The number of users was read (before the other fields).
    virtual void CountRead(std::int32_t /*count*/) {}
    // A field was refused, after its message.
    virtual void Refused() {}
    // The fields are accepted: the loop starts with its first user.
    virtual void BeforeFirstUser() {}
    // `user` was created; `created` users so far.
    virtual void UserCreated(const CreatedUser& /*user*/, std::int32_t /*created*/) {}
    // The run stopped at a failure after `created` users, after its message.
    virtual void Stopped(std::int32_t /*created*/) {}
    // Every user was created: before the closing message, and after it.
    virtual void Completing(std::int32_t /*created*/) {}
    virtual void Completed(std::int32_t /*created*/) {}
};

// How a run ended.
enum class RunOutcome { Refused, Stopped, Completed };

// "Login name" or "Last name" holding a NUL: the message's first sentence, else nullopt.
std::optional<std::string> NulFieldText(const std::string& loginName, const std::string& lastName);

// The creation run: sets the container as DirContext's name context, reads and checks the fields,
// then creates the users one by one (CreateUserObject) and stops at the first failure. Its
// messages go through the directory layer's user interface (Ui()).
class CreationRun {
public:
    explicit CreationRun(CreationRequest request) : request_(std::move(request)) {}

    // The name context and the fields: false after a refusal's message.
    bool Prepare(CreationRunObserver& observer);
    // The loop, once Prepare accepted the fields.
    RunOutcome Loop(CreationRunObserver& observer);
    RunOutcome Execute(CreationRunObserver& observer) {
        return Prepare(observer) ? Loop(observer) : RunOutcome::Refused;
    }

    // After Prepare: the number of users, and the login name of the user at `position` (from 0).
    std::int32_t Count() const { return count_; }
    std::string LoginName(std::int32_t position) const;
    const CreationRequest& Request() const { return request_; }

private:
    CreationRequest request_;
    std::int32_t count_ = 0;
    std::int32_t index_ = 0;
    std::int32_t digits_ = 0;
};
