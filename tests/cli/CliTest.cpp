// quillbarrow-cli as a script runs it, against a real slapd and the embedded store, read back with
// ldapsearch and SQL.
#include "SlapdServer.h"
#include "StoreView.h"
#include "TempFolder.h"
#include "UserBind.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>

#include <cstdio>
#include <fstream>
#include <sstream>

using ::testing::HasSubstr;

namespace {
struct CliResult {
    int status = -1;
    std::string out;
    std::string err;
};

std::string ReadAll(const std::string& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// Runs `shell` (a command line in `folder`, its output into files there) and returns its status and output.
CliResult Shell(const std::string& folder, const std::string& shell) {
    const int raw = std::system(("cd '" + folder + "' && (" + shell + ") >out 2>err").c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadAll(folder + "/out"), ReadAll(folder + "/err")};
}

// quillbarrow-cli with `arguments` in an environment of its own: `ldapUri` selects the LDAP
// backend, none the embedded store under `folder`.
CliResult Cli(const std::string& folder, const std::string& ldapUri, const std::string& arguments,
              const std::string& input = {}) {
    std::string environment =
        "env -i TZ=UTC HOME='" + folder + "' XDG_DATA_HOME='" + folder + "/data' LDAPCONF=/dev/null";
    if (!ldapUri.empty())
        environment += " LDAPURI='" + ldapUri + "'";
    return Shell(folder, "printf '%s' '" + input + "' | " + environment + " " QB_CLI_PATH " " + arguments);
}

// The entries below `base` as ldapsearch prints them (LDIF), with the attributes asked for.
std::string Ldapsearch(const SlapdServer& server, const std::string& base, const std::string& filter,
                       const std::string& attributes) {
    TempFolder folder("cli-search");
    return Shell(folder.path(), "ldapsearch -Q -LLL -Y EXTERNAL -H '" + server.ldapiUri + "' -b '" + base + "' '" +
                                    filter + "' " + attributes)
        .out;
}
} // namespace

TEST(CliTest, ScanDryRunCreateAndStopOnSlapd) {
    SlapdServer server;
    ASSERT_EQ(server.Start(), "");
    TempFolder folder("cli");
    const std::string east = "ou=East,ou=Sales,o=Acme";

    const CliResult scan = Cli(folder.path(), server.ldapiUri, "scan");
    EXPECT_EQ(scan.status, 0) << scan.err;
    EXPECT_THAT(scan.out, HasSubstr("\n  Acme\n    Sales.Acme\n      East.Sales.Acme\n"));
    EXPECT_THAT(scan.out, HasSubstr("Objects detected: 8\nContainers found: 5\n"));
    const CliResult json = Cli(folder.path(), server.ldapiUri, "scan --json");
    EXPECT_THAT(json.out, HasSubstr(R"("dottedName":"East.Sales.Acme","directoryName":"ou=East,ou=Sales,o=Acme")"));

    // A dry run names what a run would make and the taken name that would stop it, and changes nothing.
    ASSERT_EQ(Cli(folder.path(), server.ldapiUri,
                  "create --container East.Sales.Acme --prefix s --count 1 "
                  "--last-name Taken")
                  .status,
              0);
    const std::string before = Ldapsearch(server, "o=Acme", "(objectClass=*)", "*");
    const CliResult dry = Cli(folder.path(), server.ldapiUri,
                              "create --container " + east + " --prefix s --count 3 --start 0 --last-name X --dry-run");
    EXPECT_EQ(dry.status, 4) << dry.err;
    EXPECT_EQ(dry.out, "Would create 3 user(s) in East.Sales.Acme:\ns0000\ns0001 (taken)\ns0002\n"
                       "The run would stop at s0001, the first taken name, after 1 user(s).\n");
    EXPECT_EQ(Ldapsearch(server, "o=Acme", "(objectClass=*)", "*"), before);

    // Random passwords go to the account list only, written 0600 with the directory names.
    const CliResult run = Cli(folder.path(), server.ldapiUri,
                              "create --container " + east +
                                  " --prefix stud --count 3 --last-name Student --password random:16 "
                                  "--account-list list.csv");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "3 users succesfully created.\n");
    EXPECT_EQ(Ldapsearch(server, east, "(uid=stud*)", "uid sn"),
              "dn: cn=stud0001," + east + "\nsn: Student\nuid: stud0001\n\n" + "dn: cn=stud0002," + east +
                  "\nsn: Student\nuid: stud0002\n\n" + "dn: cn=stud0003," + east + "\nsn: Student\nuid: stud0003\n\n");
    struct stat list {};
    ASSERT_EQ(stat((folder.path() + "/list.csv").c_str(), &list), 0);
    EXPECT_EQ(list.st_mode & 0777, 0600u);
    std::istringstream lines(ReadAll(folder.path() + "/list.csv"));
    std::string line;
    std::getline(lines, line);
    EXPECT_EQ(line, "Login name,Last name,Container,Directory name,Password\r");
    std::getline(lines, line);
    const std::string prefix = "stud0001,Student,East.Sales.Acme,\"cn=stud0001," + east + "\",";
    ASSERT_THAT(line, ::testing::StartsWith(prefix));
    const std::string password = line.substr(prefix.size(), 16);
    EXPECT_EQ(BindAsUser(server.ldapiUri, "", "cn=stud0001," + east, password).code, 0);

    // The first taken name stops the run with the directory's code and the count so far.
    const CliResult stopped = Cli(folder.path(), server.ldapiUri,
                                  "create --container " + east + " --prefix stud --count 2 --start 3 --last-name S");
    EXPECT_EQ(stopped.status, 3);
    EXPECT_THAT(stopped.err, ::testing::MatchesRegex("Error Code [0-9A-F]+ - [^\n]+\nAn NDS-error was encountered, "
                                                     "aborting creation process. \n0 users succesfully created.\n"));
}

TEST(CliTest, CreateOnTheEmbeddedStoreAndRefusals) {
    TempFolder folder("cli-store");
    const CliResult run = Cli(folder.path(), "",
                              "create --container East.Sales.Acme --prefix p --count 2 --digits 2 --last-name Doe "
                              "--password same --must-change --quiet",
                              "Secret99\n");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    const StoreView store(folder.path() + "/data/quillbarrow/directory.db");
    EXPECT_EQ(store.Surname("p01.East.Sales.Acme"), "Doe");
    EXPECT_EQ(store.Surname("p02.East.Sales.Acme"), "Doe");
    EXPECT_FALSE(store.Children("East.Sales.Acme")->empty());

    // Refusals change nothing and say why, with the window's text where the window has one.
    const auto children = store.Children("East.Sales.Acme");
    const CliResult count =
        Cli(folder.path(), "", "create --container East.Sales.Acme --prefix q --count 10000 --last-name Doe");
    EXPECT_EQ(count.status, 2);
    EXPECT_EQ(count.err, "\"# of users to create\" must be a number between 0 and 9999.\n"
                         "Please verify this field and try again.\n");
    EXPECT_EQ(Cli(folder.path(), "",
                  "create --container East.Sales.Acme --prefix q --count 1 --last-name Doe "
                  "--password random")
                  .status,
              2);
    EXPECT_EQ(Cli(folder.path(), "",
                  "create --container East.Sales.Acme --prefix q --count 1 --last-name Doe "
                  "--expires 2001-01-01")
                  .status,
              2);
    EXPECT_EQ(store.Children("East.Sales.Acme"), children);

    // Account details: the users join the group and expire after their last day, as the window's do.
    const CliResult details = Cli(folder.path(), "",
                                  "create --container Sales.Acme --prefix g --count 2 --last-name Doe --group Staff "
                                  "--expires 2099-12-30 --account-list list.csv --quiet");
    EXPECT_EQ(details.status, 0) << details.err;
    EXPECT_EQ(store.Attribute("Staff.Acme", "Member"), "g0001.Sales.Acme\ng0002.Sales.Acme");
    EXPECT_EQ(store.Attribute("g0002.Sales.Acme", "Login Expiration Time"), "4102358400"); // 2099-12-31 00:00 UTC
    EXPECT_THAT(ReadAll(folder.path() + "/list.csv"),
                HasSubstr(",Group\r\ng0001,Doe,Sales.Acme,g0001.Sales.Acme,,yes"));

    // Linux logins from the store's own counter, one run after another; without a GID number, nothing.
    EXPECT_EQ(
        Cli(folder.path(), "", "create --container Sales.Acme --prefix x --count 1 --last-name Doe --posix").status, 2);
    for (const char* prefix : {"x", "y"}) {
        const CliResult posix = Cli(folder.path(), "",
                                    std::string("create --container Sales.Acme --count 2 --last-name Doe --posix "
                                                "--gid 100 --uid-range 500-600 --home /u/%u --quiet --prefix ") +
                                        prefix);
        EXPECT_EQ(posix.status, 0) << posix.err;
    }
    EXPECT_EQ(store.Attribute("x0001.Sales.Acme", "UID Number"), "500");
    EXPECT_EQ(store.Attribute("y0002.Sales.Acme", "UID Number"), "503");
    EXPECT_EQ(store.Attribute("y0002.Sales.Acme", "Home Directory"), "/u/y0002");
}
