#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

// One login name, one account: a run's login names that users elsewhere in the directory already
// log in with, found by one search for all of them before the run's first user. The server's own
// refusal of a name it holds stays the last word; this check only finds names in other containers
// before anything is created.

// The login names of a run: `prefix` followed by the index from `index` on, zero-filled to
// `digits`, `count` of them; the index wraps as the run's does.
std::vector<std::string> RunLoginNames(const std::string& prefix, std::int32_t index, std::int32_t digits,
                                       std::int32_t count);

// Which of `names` are taken in the directory of `container` (a dotted name from the top, as
// SetNameContext takes it); nullopt when the directory cannot tell. Shows nothing: for the preview.
std::optional<std::vector<std::string>> TakenLoginNames(const std::string& container,
                                                        const std::vector<std::string>& names);

class LoginNameCheck {
public:
    // Searches once for all of `names` in the directory of DirContext's name context. When the
    // search cannot be made the run goes on as without the check, and the server's own refusal of
    // a name it holds decides, as it always does.
    void Prepare(const std::vector<std::string>& names);
    // True when no other user logs in with `name`; else reports rc::kLoginNameTaken through
    // CheckNDSError and returns false.
    bool Free(const std::string& name) const;

private:
    std::unordered_set<std::string> taken_;
};
