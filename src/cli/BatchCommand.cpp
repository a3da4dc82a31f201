// quillbarrow-cli disable|enable|remove: a batch of users, as Tools, "Disable or remove users..." deals
// with it: preview, confirmation by the number of users, the run, the list of what was done.
#include "cli/Commands.h"
#include "cli/ExitStatus.h"
#include "cli/Progress.h"
#include "conversion/StrToInt.h"
#include "ui/AccountList.h"
#include "ui/BatchList.h"

#include <unistd.h>

#include <array>
#include <cstdio>
#include <iostream>

namespace {
constexpr std::array<OptionSpec, 9> kOptions{{
    {"container", "NAME", "the container, a dotted name as scan prints it"},
    {"prefix", "P", "login name prefix"},
    {"count", "N", "number of users in the batch (1 to 9999)"},
    {"start", "S", "index of the first user (default 1)"},
    {"digits", "D", "fixed digits of the index (default 4)"},
    {"dry-run", "", "print the preview and change nothing"},
    {"yes", "", "do not ask for the number of users on the terminal"},
    {"list", "FILE", "write what was done as CSV (mode 0600)"},
    {"quiet", "", "no progress and no closing count"},
}};

class BatchCommand final : public Command {
public:
    explicit BatchCommand(BatchAction action) : action_(action) {}
    std::string_view Name() const override { return ActionVerb(action_); }
    std::string_view Description() const override {
        switch (action_) {
        case BatchAction::Disable:
            return "Disable the login of a batch of users: PREFIX plus a zero-filled number, previewed first.";
        case BatchAction::Enable:
            return "Enable the login of such a batch again.";
        case BatchAction::Remove:
            break;
        }
        return "Remove such a batch: only its users, nothing beside or below them.";
    }
    std::span<const OptionSpec> OptionTable() const override { return kOptions; }
    int Execute(const Options& options) override;

private:
    int Refuse(const std::string& text) const {
        std::fprintf(stderr, "quillbarrow-cli %s: %s\n", ActionVerb(action_), text.c_str());
        return exitstatus::kRefused;
    }
    BatchAction action_;
};

int BatchCommand::Execute(const Options& options) {
    BatchRange range;
    range.container = options.Value("container");
    if (range.container.starts_with('.'))
        range.container.erase(0, 1);
    range.prefix = options.Value("prefix");
    if (range.container.empty() || range.prefix.empty())
        return Refuse("--container and --prefix are needed");
    if (!StrToIntStrict(options.Value("count"), &range.count) || range.count < 1 || range.count > 9999)
        return Refuse("--count must be a number from 1 to 9999");
    if (!StrToIntStrict(options.Value("start", "1"), &range.start))
        return Refuse("--start must be a number");
    if (!StrToIntStrict(options.Value("digits", "4"), &range.digits) || range.digits < 0 || range.digits > 9)
        return Refuse("--digits must be a number from 0 to 9");

    AccountBatch batch(action_, range);
    if (!batch.Read())
        return exitstatus::kDirectoryFailure;
    const BatchPreview& preview = batch.Preview();
    std::printf("%zu user(s) in %s to %s:\n", preview.targets.size(), range.container.c_str(), ActionVerb(action_));
    for (const std::string& name : preview.targets)
        std::printf("  %s\n", name.c_str());
    for (const std::string& name : preview.missing)
        std::printf("  %s: missing, skipped\n", name.c_str());
    for (const BatchSkipped& skipped : preview.skipped)
        std::printf("  %s: left alone, %s\n", skipped.name.c_str(), skipped.reason.c_str());
    std::fflush(stdout);
    if (options.Has("dry-run") || preview.targets.empty())
        return exitstatus::kSuccess;

    if (!options.Has("yes")) {
        if (isatty(STDIN_FILENO) != 1)
            return Refuse("standard input is not a terminal: confirm with --yes");
        std::fprintf(stderr, "Type the number of users to %s them: ", ActionVerb(action_));
        std::string typed;
        if (!std::getline(std::cin, typed) || typed != std::to_string(preview.targets.size()))
            return Refuse("not confirmed; nothing was changed");
    }

    Progress progress(options.Has("quiet"));
    const auto total = static_cast<std::int32_t>(preview.targets.size());
    const bool finished = batch.Run([&](std::size_t done) { progress.Show(static_cast<std::int32_t>(done), total); });
    progress.Clear();
    if (!options.Has("quiet"))
        std::fprintf(stderr, "%zu users %s.\n", batch.Done().size(), ActionPast(action_));
    if (options.Has("list") && !batch.Done().empty()) {
        QString error;
        if (!SaveOwnerOnlyFile(QString::fromStdString(options.Value("list")), BatchListCsv(batch), &error))
            std::fprintf(stderr, "quillbarrow-cli %s: the list could not be saved: %s\n", ActionVerb(action_),
                         error.toStdString().c_str());
    }
    if (finished)
        return exitstatus::kSuccess;
    return batch.Done().empty() ? exitstatus::kDirectoryFailure : exitstatus::kStopped;
}
} // namespace

std::unique_ptr<Command> MakeBatchCommand(BatchAction action) {
    return std::make_unique<BatchCommand>(action);
}
