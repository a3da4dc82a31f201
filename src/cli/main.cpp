// quillbarrow-cli: the window's scan and creation run from the command line, on the same client
// and settings (ldap.conf, the embedded store).
#include "cli/Commands.h"
#include "cli/ExitStatus.h"
#include "cli/TerminalUi.h"
#include "client/BoundClient.h"
#include "client/ClientFactory.h"
#include "client/ProcessHeap.h"
#include "directory/DirectoryStartUp.h"
#include "directory/DirectoryUi.h"

#include <cstdio>
#include <cstring>
#include <span>
#include <vector>

namespace {
void PrintUsage(const std::vector<std::unique_ptr<Command>>& commands, std::FILE* out) {
    std::fputs("Usage: quillbarrow-cli COMMAND [OPTION]...\n\nCommands:\n", out);
    for (const auto& command : commands)
        std::fprintf(out, "  %-8.*s  %.*s\n", static_cast<int>(command->Name().size()), command->Name().data(),
                     static_cast<int>(command->Description().size()), command->Description().data());
    std::fputs("\n'quillbarrow-cli COMMAND --help' lists a command's options; see quillbarrow-cli(1).\n", out);
}
} // namespace

int main(int argc, char* argv[]) {
    UseOneHeapForAllThreads();
    std::vector<std::unique_ptr<Command>> commands;
    commands.push_back(MakeWhoamiCommand());
    commands.push_back(MakeScanCommand());
    commands.push_back(MakeCreateCommand());
    for (const BatchAction action : {BatchAction::Disable, BatchAction::Enable, BatchAction::Remove})
        commands.push_back(MakeBatchCommand(action));

    const std::span<char* const> arguments(argv, static_cast<std::size_t>(argc));
    if (arguments.size() < 2) {
        PrintUsage(commands, stderr);
        return exitstatus::kRefused;
    }
    if (std::strcmp(arguments[1], "--help") == 0 || std::strcmp(arguments[1], "help") == 0) {
        PrintUsage(commands, stdout);
        return exitstatus::kSuccess;
    }
    Command* command = nullptr;
    for (const auto& candidate : commands) {
        if (candidate->Name() == arguments[1])
            command = candidate.get();
    }
    if (!command) {
        std::fprintf(stderr, "quillbarrow-cli: unknown command '%s'\n", arguments[1]);
        PrintUsage(commands, stderr);
        return exitstatus::kRefused;
    }
    const auto rest = arguments.subspan(2);
    for (const char* argument : rest) {
        if (std::strcmp(argument, "--help") == 0) {
            std::fputs(CommandHelp(*command).c_str(), stdout);
            return exitstatus::kSuccess;
        }
    }
    const auto options = ParseOptions(*command, rest);
    if (!options)
        return exitstatus::kRefused;

    TerminalUi ui;
    SetDirectoryUi(&ui);
    BindClient(MakeClient());
    DirectoryStartUp();
    const int status = command->Execute(*options);
    DirectoryShutDown();
    SetDirectoryUi(nullptr);
    return status;
}
