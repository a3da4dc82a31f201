#include "directory/PosixIdentity.h"

#include "client/BoundClient.h"
#include "client/ResultCodes.h"
#include "directory/CheckNDSError.h"
#include "directory/SharedContext.h"

#include <limits>

namespace {
// Numbers above this read as negative to programs that keep them signed.
constexpr std::uint32_t kHighestId = std::numeric_limits<std::int32_t>::max();

bool IsAbsoluteAsciiPath(const std::string& path) {
    return path.starts_with('/') && IsPrintableAscii(path);
}
} // namespace

std::optional<std::uint32_t> PosixGid(const AccountDetails& details) {
    if (details.group && details.group->gidNumber)
        return details.group->gidNumber;
    return details.posix ? details.posix->gidNumber : std::nullopt;
}

std::string HomeDirectory(const std::string& homeTemplate, const std::string& loginName) {
    std::string home;
    for (std::size_t i = 0; i < homeTemplate.size(); ++i) {
        if (homeTemplate.compare(i, 2, "%u") == 0) {
            home += loginName;
            ++i;
        } else {
            home += homeTemplate[i];
        }
    }
    return home;
}

std::optional<std::string> PosixChoiceRefusal(const AccountDetails& details) {
    if (!details.posix)
        return std::nullopt;
    const PosixChoice& posix = *details.posix;
    if (!PosixGid(details))
        return "A Linux login needs a GID number: choose a group that has one, or type one.";
    if (posix.range.low == 0 || posix.range.low > posix.range.high || posix.range.high > kHighestId)
        return "The UID range must run from a number of 1 or more up to a number no smaller, at most " +
               std::to_string(kHighestId) + ".";
    if (!IsAbsoluteAsciiPath(posix.homeTemplate))
        return "The home directory must be an absolute path (starting with /) of ASCII characters.";
    if (!IsAbsoluteAsciiPath(posix.loginShell))
        return "The login shell must be an absolute path (starting with /) of ASCII characters.";
    return std::nullopt;
}

std::optional<UidBlock> ReserveRunUidNumbers(std::int32_t count, const UidRange& range) {
    UidBlock block;
    const NWDSCCODE code = Client().ReserveUidNumbers(DirContext, static_cast<std::uint32_t>(count), range, &block);
    if (code == rc::kUidRangeFull) {
        CheckNDSError(code, "No uidNumbers left in the range " + std::to_string(range.low) + "-" +
                                std::to_string(range.high) + " for the run's users, no user created");
        return std::nullopt;
    }
    if (CheckNDSError(code, "Reserving the users' uidNumbers, no user created"))
        return std::nullopt;
    return block;
}

PosixRequest PosixOfUser(const PosixChoice& choice, std::uint32_t gidNumber, const UidBlock& block,
                         std::int32_t position, const std::string& loginName) {
    return {block.NumberAt(static_cast<std::uint32_t>(position)), gidNumber,
            HomeDirectory(choice.homeTemplate, loginName), choice.loginShell};
}
