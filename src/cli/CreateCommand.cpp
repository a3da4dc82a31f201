// quillbarrow-cli create: the window's creation run from the command line.
#include "cli/Commands.h"
#include "cli/ExitStatus.h"
#include "cli/Progress.h"
#include "cli/ScanTree.h"
#include "client/DottedName.h"
#include "directory/CheckNDSError.h"
#include "directory/CreationRun.h"
#include "directory/DirectoryQueries.h"
#include "directory/DirectoryUi.h"
#include "directory/PosixIdentity.h"
#include "passwords/RandomPassword.h"
#include "ui/AccountList.h"

#include <QDate>
#include <QDateTime>

#include <array>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <strings.h>

namespace {
// The window's dialogs' fields as options.
constexpr std::array<OptionSpec, 19> kOptions{{
    {"container", "NAME", "the container: a dotted name as scan prints it, or its DN"},
    {"prefix", "P", "login name prefix"},
    {"count", "N", "number of users to create (0 to 9999)"},
    {"start", "S", "index of the first user (default 1)"},
    {"digits", "D", "fixed digits of the index (default 4)"},
    {"last-name", "L", "last name of every user"},
    {"password", "MODE", "none (default), same, or random[:LENGTH] (8 to 64, default 12)"},
    {"password-file", "FILE", "read the shared password from FILE instead of standard input"},
    {"must-change", "", "users must change the password at first login"},
    {"account-list", "FILE", "write the created users, passwords included, as CSV (mode 0600)"},
    {"group", "NAME", "the group the users join: its directory name, or its own name when only one has it"},
    {"expires", "DATE", "the users' last day (YYYY-MM-DD): they expire at the start of the next"},
    {"posix", "", "give each user a Linux login: uidNumber, gidNumber, home directory, login shell"},
    {"gid", "N", "the users' gidNumber with --posix when the group has none"},
    {"home", "TEMPLATE", "home directory with --posix, %u for the login name (default /home/%u)"},
    {"shell", "PATH", "login shell with --posix (default /bin/bash)"},
    {"uid-range", "LOW-HIGH", "the range uidNumbers are taken from with --posix (default 10000-60000)"},
    {"dry-run", "", "print what the run would do and change nothing"},
    {"quiet", "", "no progress and no closing count"},
}};

int Refuse(const std::string& text) {
    std::fprintf(stderr, "quillbarrow-cli create: %s\n", text.c_str());
    return exitstatus::kRefused;
}

// The first line of `in`, without its line end.
std::optional<std::string> FirstLine(std::istream& in) {
    std::string line;
    if (!std::getline(in, line))
        return std::nullopt;
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return line;
}

// --password and its source into the plan; a refusal's text otherwise.
std::optional<std::string> ReadPasswords(const Options& options, PasswordPlan* plan) {
    const std::string mode = options.Value("password", "none");
    if (mode == "none") {
        plan->mode = PasswordPlan::Mode::None;
    } else if (mode == "same") {
        plan->mode = PasswordPlan::Mode::One;
        std::optional<std::string> password;
        if (options.Has("password-file")) {
            std::ifstream file(options.Value("password-file"));
            if (!file)
                return "the password file cannot be read";
            password = FirstLine(file);
        } else {
            password = FirstLine(std::cin);
        }
        if (!password || password->empty())
            return "no password was given (standard input or --password-file)";
        if (password->size() > 256)
            return "the password is longer than 256 bytes";
        plan->password = *password;
    } else if (mode == "random" || mode.starts_with("random:")) {
        plan->mode = PasswordPlan::Mode::Random;
        plan->length = kDefaultRandomPasswordLength;
        if (mode != "random") {
            const std::string length = mode.substr(7);
            if (length.empty() || length.size() > 2 || length.find_first_not_of("0123456789") != std::string::npos)
                return "--password random:LENGTH needs a length from 8 to 64";
            plan->length = std::stoi(length);
        }
        if (plan->length < kMinRandomPasswordLength || plan->length > kMaxRandomPasswordLength)
            return "--password random:LENGTH needs a length from 8 to 64";
        if (!options.Has("account-list"))
            return "random passwords need --account-list: they are written nowhere else";
    } else {
        return "--password must be none, same or random[:LENGTH]";
    }
    if (options.Has("password-file") && plan->mode != PasswordPlan::Mode::One)
        return "--password-file goes with --password same";
    plan->mustChange = options.Has("must-change");
    if (plan->mustChange && plan->mode == PasswordPlan::Mode::None)
        return "--must-change needs a password";
    if (plan->mode != PasswordPlan::Mode::None) {
        const PasswordSupport support = DirectoryPasswordSupport();
        if (!support.CanSetPassword())
            return "this directory cannot set a password with a new user here";
        if (plan->mustChange && !support.CanAskForChange())
            return "this directory cannot ask for a change at first login here";
    }
    return std::nullopt;
}

// A decimal number below 2^32 as a whole text.
std::optional<std::uint32_t> Number(const std::string& text) {
    if (text.empty() || text.size() > 10 || text.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    const unsigned long long value = std::stoull(text);
    return value <= 0xFFFFFFFFULL ? std::optional<std::uint32_t>(static_cast<std::uint32_t>(value)) : std::nullopt;
}

// --posix and its options into the run's account details (after --group); a refusal's text otherwise.
std::optional<std::string> ReadPosix(const Options& options, AccountDetails* details) {
    if (!options.Has("posix")) {
        for (const char* option : {"gid", "home", "shell", "uid-range"}) {
            if (options.Has(option))
                return std::string("--") + option + " goes with --posix";
        }
        return std::nullopt;
    }
    PosixChoice posix;
    if (options.Has("gid")) {
        posix.gidNumber = Number(options.Value("gid"));
        if (!posix.gidNumber)
            return "--gid needs a number";
    }
    posix.homeTemplate = options.Value("home", posix.homeTemplate);
    posix.loginShell = options.Value("shell", posix.loginShell);
    if (options.Has("uid-range")) {
        const std::string range = options.Value("uid-range");
        const std::size_t dash = range.find('-');
        const auto low = dash == std::string::npos ? std::nullopt : Number(range.substr(0, dash));
        const auto high = dash == std::string::npos ? std::nullopt : Number(range.substr(dash + 1));
        if (!low || !high)
            return "--uid-range needs two numbers as LOW-HIGH";
        posix.range = {*low, *high};
    }
    switch (DirectoryPosixSupport()) {
    case PosixLimit::None:
        break;
    case PosixLimit::NoSchema:
        return "this directory's schema has no posixAccount class: its users cannot get a Linux login";
    case PosixLimit::Unreachable:
        return "the directory could not be asked whether it can give users a Linux login";
    }
    details->posix = posix;
    if (const auto refusal = PosixChoiceRefusal(*details))
        return *refusal;
    return std::nullopt;
}

// --group and --expires into the run's account details; a refusal's text otherwise.
std::optional<std::string> ReadDetails(const Options& options, AccountDetails* details) {
    if (options.Has("group")) {
        std::vector<DirectoryGroup> groups;
        int code = 0;
        if (!DirectoryGroups(&groups, &code))
            return "the directory's groups could not be listed: " + ErrorCodeText(code);
        const std::string name = options.Value("group");
        std::vector<const DirectoryGroup*> found;
        for (const DirectoryGroup& group : groups) {
            if (strcasecmp(group.name.c_str(), name.c_str()) == 0 || group.label == name)
                found.push_back(&group);
        }
        if (found.empty())
            return "no group is named " + name;
        if (found.size() > 1)
            return "more than one group is named " + name + ": give its directory name";
        details->group = *found.front();
    }
    if (options.Has("expires")) {
        const QDate day = QDate::fromString(QString::fromStdString(options.Value("expires")), Qt::ISODate);
        if (!day.isValid())
            return "--expires needs a date as YYYY-MM-DD";
        if (day < QDate::currentDate())
            return "--expires lies in the past";
        if (!ExpiryAllowed(DirectoryExpirySupport(), options.Has("posix")))
            return "this directory cannot make accounts expire here";
        details->expiresAt = day.addDays(1).startOfDay().toSecsSinceEpoch();
    }
    return ReadPosix(options, details);
}

// The dotted name of the container `name` names: itself, or the container a scan finds with that DN.
std::optional<std::string> ResolveContainer(const std::string& name) {
    if (name.find('=') == std::string::npos)
        return name.starts_with('.') ? name.substr(1) : name;
    const auto tree = ScanDirectory();
    if (!tree)
        return std::nullopt;
    for (const ScanTree::Node& node : tree->nodes) {
        const std::string dn = ContainerDirectoryName(node.container.dottedName);
        if (!dn.empty() && strcasecmp(dn.c_str(), name.c_str()) == 0)
            return node.container.dottedName;
    }
    return std::nullopt;
}

// The run's users as the account list holds them; with a group, whether each joined it (the first
// `joined` did).
std::vector<CreatedAccount> Accounts(const std::vector<CreatedUser>& users, std::optional<std::size_t> joined) {
    std::vector<CreatedAccount> accounts;
    accounts.reserve(users.size());
    for (const CreatedUser& user : users) {
        const std::string directoryName =
            user.directoryName.empty() ? DirectoryNameOf(user.container, user.loginName) : user.directoryName;
        accounts.push_back({QString::fromStdString(user.loginName), QString::fromStdString(user.lastName),
                            QString::fromStdString(user.container), QString::fromStdString(directoryName),
                            user.password});
        if (joined)
            accounts.back().inGroup = accounts.size() <= *joined;
    }
    return accounts;
}

bool WriteAccountList(const std::string& path, const std::vector<CreatedUser>& users,
                      std::optional<std::size_t> joined = std::nullopt) {
    QString error;
    if (SaveAccountList(QString::fromStdString(path), Accounts(users, joined), &error))
        return true;
    std::fprintf(stderr, "quillbarrow-cli create: the account list could not be saved: %s\n",
                 error.toStdString().c_str());
    return false;
}

// Prints the names the run would make and the taken ones that would stop it; 0, or kStopped when
// a taken name (or a container that cannot be listed) would stop the run.
int DryRun(const CreationRun& run) {
    const std::string& container = run.Request().container;
    std::printf("Would create %d user(s) in %s:\n", static_cast<int>(run.Count()), container.c_str());
    NWDSCCODE code = 0;
    const auto taken = ListEntryNames(container, &code);
    if (!taken) {
        std::fprintf(stderr, "%s - the container could not be listed\n", ErrorCodeText(code).c_str());
        return exitstatus::kDirectoryFailure;
    }
    std::optional<std::int32_t> stop;
    for (std::int32_t position = 0; position < run.Count(); ++position) {
        const std::string name = run.LoginName(position);
        const bool isTaken = taken->contains(EscapeNamePart(name));
        std::printf("%s%s\n", name.c_str(), isTaken ? " (taken)" : "");
        if (isTaken && !stop)
            stop = position;
    }
    if (!stop)
        return exitstatus::kSuccess;
    std::printf("The run would stop at %s, the first taken name, after %d user(s).\n", run.LoginName(*stop).c_str(),
                static_cast<int>(*stop));
    return exitstatus::kStopped;
}

class CreateCommand final : public Command {
public:
    std::string_view Name() const override { return "create"; }
    std::string_view Description() const override {
        return "Create users as the window's \"Create User(s)\" does: PREFIX plus a zero-filled number.";
    }
    std::span<const OptionSpec> OptionTable() const override { return kOptions; }

    int Execute(const Options& options) override {
        for (const char* required : {"container", "prefix", "count", "last-name"}) {
            if (!options.Has(required))
                return Refuse(std::string("--") + required + " is required");
        }
        CreationRequest request;
        request.loginName = options.Value("prefix");
        request.lastName = options.Value("last-name");
        request.count = options.Value("count");
        request.index = options.Value("start", "1");
        request.digits = options.Value("digits", "4");
        if (const auto refusal = ReadPasswords(options, &request.passwords))
            return Refuse(*refusal);
        if (const auto refusal = ReadDetails(options, &request.details))
            return Refuse(*refusal);
        const auto container = ResolveContainer(options.Value("container"));
        if (!container)
            return Refuse("no container is named " + options.Value("container"));
        request.container = *container;

        const bool dryRun = options.Has("dry-run");
        const std::string accountList = options.Value("account-list");
        // The list can be written before anything is created: an empty one now, this run's at the end.
        if (!dryRun && !accountList.empty() && !WriteAccountList(accountList, {}))
            return exitstatus::kRefused;

        CreationRun run(std::move(request));
        RunView view(options.Has("quiet"));
        if (!run.Prepare(view))
            return exitstatus::kRefused;
        if (dryRun)
            return DryRun(run);
        const RunOutcome outcome = run.Loop(view);
        view.progress.Clear();
        const bool listed = accountList.empty() || WriteAccountList(accountList, view.users, view.joined);
        if (outcome == RunOutcome::Stopped)
            return view.users.empty() ? exitstatus::kDirectoryFailure : exitstatus::kStopped;
        return listed ? exitstatus::kSuccess : exitstatus::kDirectoryFailure;
    }

private:
    // The terminal's side of the run: the progress bar, cleared before each message, the created
    // users, and no closing count when quiet.
    class RunView final : public CreationRunObserver, public DirectoryUi {
    public:
        explicit RunView(bool quiet) : progress(quiet), quiet_(quiet), previous_(Ui()) { SetDirectoryUi(this); }
        ~RunView() override { SetDirectoryUi(&previous_); }
        RunView(const RunView&) = delete;
        RunView& operator=(const RunView&) = delete;

        void CountRead(std::int32_t count) override { count_ = count; }
        void UserCreated(const CreatedUser& user, std::int32_t created) override {
            users.push_back(user);
            progress.Show(created, count_);
        }
        void GroupJoined(std::size_t count) override { joined = count; }
        void Completing(std::int32_t) override { silenced_ = quiet_; }
        void Completed(std::int32_t) override { silenced_ = false; }

        void ShowMessage(const std::string& text) override {
            progress.Clear();
            if (!silenced_)
                previous_.ShowMessage(text);
        }
        void ProcessPendingMessages() override { previous_.ProcessPendingMessages(); }

        Progress progress;
        std::vector<CreatedUser> users;
        std::optional<std::size_t> joined; // with a group: how many of the users joined it

    private:
        bool quiet_;
        bool silenced_ = false;
        std::int32_t count_ = 0;
        DirectoryUi& previous_;
    };
};
} // namespace

std::unique_ptr<Command> MakeCreateCommand() {
    return std::make_unique<CreateCommand>();
}
