#include "directory/LoginNameCheck.h"

#include "client/BoundClient.h"
#include "client/ResultCodes.h"
#include "conversion/IndexText.h"
#include "directory/CheckNDSError.h"
#include "directory/SharedContext.h"

std::vector<std::string> RunLoginNames(const std::string& prefix, std::int32_t index, std::int32_t digits,
                                       std::int32_t count) {
    std::vector<std::string> names;
    names.reserve(count > 0 ? static_cast<std::size_t>(count) : 0);
    for (std::int32_t i = 0; i < count; ++i) {
        names.push_back(prefix + IndexText(index, digits));
        index = static_cast<std::int32_t>(static_cast<std::uint32_t>(index) + 1u);
    }
    return names;
}

std::optional<std::vector<std::string>> TakenLoginNames(const std::string& container,
                                                        const std::vector<std::string>& names) {
    // A context of its own: the shared one's name context belongs to the scan and the run.
    DirectoryClient& client = Client();
    NWDSContextHandle context = 0;
    if (client.CreateContext(&context) != rc::kSuccess)
        return std::nullopt;
    std::vector<std::string> taken;
    const bool found = client.SetContext(context, kContextNameContext, container.c_str()) == rc::kSuccess &&
                       client.FindTakenLoginNames(context, names, &taken) == rc::kSuccess;
    client.FreeContext(context);
    if (!found)
        return std::nullopt;
    return taken;
}

void LoginNameCheck::Prepare(const std::vector<std::string>& names) {
    std::vector<std::string> taken;
    if (names.empty() || Client().FindTakenLoginNames(DirContext, names, &taken) != rc::kSuccess)
        taken.clear();
    taken_ = {taken.begin(), taken.end()};
}

bool LoginNameCheck::Free(const std::string& name) const {
    if (!taken_.count(name))
        return true;
    CheckNDSError(rc::kLoginNameTaken, "Login name already used in the directory, user not created");
    return false;
}
