// quillbarrow-cli whoami: the identity the directory is used as, as the window's status bar shows it.
#include "cli/Commands.h"
#include "cli/ExitStatus.h"
#include "directory/GetIdentityName.h"
#include "directory/SharedContext.h"

#include <cstdio>

namespace {
class WhoamiCommand final : public Command {
public:
    std::string_view Name() const override { return "whoami"; }
    std::string_view Description() const override { return "Print the identity the directory is used as."; }
    int Execute(const Options&) override {
        const std::string identity = GetIdentityName(DirContext);
        if (identity.empty()) {
            std::fputs("quillbarrow-cli: the directory cannot tell who is logged in\n", stderr);
            return exitstatus::kDirectoryFailure;
        }
        std::printf("%s\n", identity.c_str());
        return exitstatus::kSuccess;
    }
};
} // namespace

std::unique_ptr<Command> MakeWhoamiCommand() {
    return std::make_unique<WhoamiCommand>();
}
