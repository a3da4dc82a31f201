#include "directory/CreationRun.h"

#include "conversion/IndexText.h"
#include "conversion/StrToInt.h"
#include "directory/CreateUserObject.h"
#include "directory/DirectoryQueries.h"
#include "directory/DirectoryUi.h"
#include "directory/GroupMembership.h"
#include "directory/LoginNameCheck.h"
#include "directory/PosixIdentity.h"
#include "directory/SharedContext.h"
#include "passwords/RandomPassword.h"

#include <utility>

namespace {
// The next user's password as planned: empty for none, nullopt when no random one could be made.
std::optional<SecretText> NextPassword(const PasswordPlan& plan) {
    switch (plan.mode) {
    case PasswordPlan::Mode::None:
        return SecretText();
    case PasswordPlan::Mode::One:
        return plan.password;
    case PasswordPlan::Mode::Random:
        return RandomPassword(plan.length);
    }
    return std::nullopt;
}

std::optional<InitialPassword> WithPassword(const SecretText& password, bool mustChange) {
    if (password.empty())
        return std::nullopt;
    return InitialPassword{password, mustChange};
}

// The index of the user `position` places after `index`: it wraps from 2147483647 to -2147483648
// without notice.
std::int32_t IndexAfter(std::int32_t index, std::int32_t position) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(index) + static_cast<std::uint32_t>(position));
}
} // namespace

std::optional<std::string> NulFieldText(const std::string& loginName, const std::string& lastName) {
    for (const auto& [text, label] : {std::pair{&loginName, "Login name"}, std::pair{&lastName, "Last name"}}) {
        if (text->find('\0') != std::string::npos)
            return std::string("\"") + label + "\" must not contain a NUL character.";
    }
    return std::nullopt;
}

bool CreationRun::Prepare(CreationRunObserver& observer) {
    SetNameContext(DirContext, request_.container);
    observer.NameContextSet();
    const auto refuse = [&observer](const std::string& text) {
        Ui().ShowMessage(text);
        observer.Refused();
        return false;
    };
    if (!StrToIntStrict(request_.count, &count_) || count_ < 0 || count_ > 9999)
        return refuse("\"# of users to create\" must be a number between 0 and 9999.\r\nPlease verify this field "
                      "and try again.");
    observer.CountRead(count_);
    if (!StrToIntStrict(request_.index, &index_))
        return refuse("\"Starting at index\" must be a number. Please verify this field and try again.");
    if (!StrToIntStrict(request_.digits, &digits_))
        return refuse("\"# of fixed digits\" must be a number between 0 and 9. Please verify this field and try "
                      "again.");
    if (const auto nul = NulFieldText(request_.loginName, request_.lastName))
        return refuse(*nul + " Please verify this field and try again.");
    if (const auto posix = PosixChoiceRefusal(request_.details))
        return refuse(*posix);
    // The login names differ in their digits only: one home directory tells for all.
    if (request_.details.posix && !IsPrintableAscii(HomeDirectory(request_.details.posix->homeTemplate, LoginName(0))))
        return refuse("The home directory " + HomeDirectory(request_.details.posix->homeTemplate, LoginName(0)) +
                      " holds characters beyond ASCII, which the directory cannot keep. Please verify the login "
                      "name and the home directory and try again.");
    return true;
}

std::string CreationRun::LoginName(std::int32_t position) const {
    return request_.loginName + IndexText(IndexAfter(index_, position), digits_);
}

RunOutcome CreationRun::Loop(CreationRunObserver& observer) {
    observer.BeforeFirstUser();
    // Login names other users hold, found with one search before the first user.
    LoginNameCheck loginNames;
    loginNames.Prepare(RunLoginNames(request_.loginName, index_, digits_, count_));
    // The run's group, joined in batches.
    std::optional<GroupMembership> membership;
    if (request_.details.group)
        membership.emplace(request_.details.group->name);
    const auto stop = [&](std::int32_t created) {
        if (membership)
            observer.GroupJoined(membership->JoinedCount());
        Ui().ShowMessage("An NDS-error was encountered, aborting creation process. \r\n" + std::to_string(created) +
                         " users succesfully created.");
        observer.Stopped(created);
        return RunOutcome::Stopped;
    };
    // The run's uidNumbers, reserved in one step before the first user; those a stop leaves unused
    // are skipped.
    std::optional<UidBlock> uids;
    if (request_.details.posix && count_ > 0) {
        uids = ReserveRunUidNumbers(count_, request_.details.posix->range);
        if (!uids)
            return stop(0);
    }
    const std::uint32_t gid = PosixGid(request_.details).value_or(0);
    std::int32_t created = 0;
    while (created < count_) {
        CreatedUser user{LoginName(created), request_.lastName, request_.container, {}, {}};
        const std::optional<SecretText> password = NextPassword(request_.passwords);
        if (!password)
            Ui().ShowMessage("No random password could be made: the system's random source failed.");
        std::optional<PosixRequest> posix;
        if (uids)
            posix = PosixOfUser(*request_.details.posix, gid, *uids, created, user.loginName);
        if (!password || !loginNames.Free(user.loginName) ||
            !CreateUserObject(user.loginName, user.lastName, WithPassword(*password, request_.passwords.mustChange),
                              request_.details.expiresAt, posix)) {
            // The users created before the stop still join the group.
            if (membership)
                membership->Flush();
            return stop(created);
        }
        // Without a group the directory name waits for the list to be saved: the loop asks the
        // directory nothing more.
        if (membership)
            user.directoryName = DirectoryNameOf(request_.container, user.loginName);
        user.password = *password;
        ++created;
        observer.UserCreated(user, created);
        if (membership && !membership->Add(user.loginName, user.directoryName))
            return stop(created);
    }
    if (membership && !membership->Flush())
        return stop(created);
    if (membership)
        observer.GroupJoined(membership->JoinedCount());
    observer.Completing(created);
    Ui().ShowMessage(std::to_string(created) + " users succesfully created.");
    observer.Completed(created);
    return RunOutcome::Completed;
}
