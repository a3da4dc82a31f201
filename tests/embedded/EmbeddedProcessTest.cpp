#include "EmbeddedFixture.h"
#include "ListEntries.h"
#include "client/BoundClient.h"
#include "client/embedded/SqliteHandles.h"

#include <gmock/gmock.h>
#include <sqlite3.h>

#include <csignal>
#include <cstdio>
#include <sys/wait.h>
#include <unistd.h>

namespace {
std::string UserName(int index) {
    char name[32];
    std::snprintf(name, sizeof name, "user%04d", index);
    return name;
}

bool WriteAll(int fd, const void* data, std::size_t size) {
    return write(fd, data, size) == static_cast<ssize_t>(size);
}

bool ReadInt(int fd, int* value) {
    return read(fd, value, sizeof *value) == static_cast<ssize_t>(sizeof *value);
}

// In a child: adds users `first`.. `last` named with `prefix` to Acme and reports each committed
// add (its index), or the failing code as a negative number, through `report`.
[[noreturn]] void AddUsersAndReport(const std::string& path, const char* prefix, int first, int last, int report) {
    EmbeddedClient client(OptionsAt(path));
    int status = client.StartClientLibrary(nullptr, nullptr) == 0 ? 0 : 1;
    for (int i = first; status == 0 && i <= last; ++i) {
        const NWDSCCODE code = AddUser(client, "Acme", prefix + UserName(i), "Surname " + std::to_string(i));
        const int reported = code == 0 ? i : code;
        if (!WriteAll(report, &reported, sizeof reported) || code != 0)
            status = 2;
    }
    _exit(status);
}
} // namespace

using EmbeddedProcessTest = EmbeddedTest;

TEST_F(EmbeddedProcessTest, KilledWriterLeavesExactlyItsCommittedUsers) {
    ASSERT_EQ(AddEntry("Acme", "Organization"), 0);
    int pipeFds[2];
    ASSERT_EQ(pipe(pipeFds), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        close(pipeFds[0]);
        AddUsersAndReport(StorePath(), "", 1, 5000, pipeFds[1]);
    }
    close(pipeFds[1]);
    int reported = 0;
    int value = 0;
    while (reported < 2500 && ReadInt(pipeFds[0], &value)) {
        ASSERT_EQ(value, reported + 1) << "the child reported a failure or a gap";
        reported = value;
    }
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the child ended before it was killed";
    // Reports already in the pipe were committed before the kill.
    while (ReadInt(pipeFds[0], &value))
        reported = value;
    close(pipeFds[0]);

    EXPECT_EQ(view.IntegrityCheck(), "ok");
    const auto users = view.Children("Acme");
    ASSERT_TRUE(users);
    ASSERT_GE(users->size(), static_cast<std::size_t>(reported));
    ASSERT_LE(users->size(), static_cast<std::size_t>(reported) + 1) << "only the add in flight may be extra";
    for (std::size_t i = 0; i < users->size(); ++i) {
        const int index = static_cast<int>(i) + 1;
        ASSERT_EQ((*users)[i], UserName(index));
        ASSERT_EQ(view.Surname(UserName(index) + ".Acme"), "Surname " + std::to_string(index));
    }
}

TEST_F(EmbeddedProcessTest, TwoWritersAtOnceKeepTheStoreIntact) {
    ASSERT_EQ(AddEntry("Acme", "Organization"), 0);
    constexpr int kEach = 400;
    int gate[2];
    ASSERT_EQ(pipe(gate), 0);
    struct Writer {
        const char* prefix;
        int report[2];
        pid_t pid;
    } writers[] = {{"a", {}, 0}, {"b", {}, 0}};
    for (Writer& writer : writers) {
        ASSERT_EQ(pipe(writer.report), 0);
        writer.pid = fork();
        ASSERT_GE(writer.pid, 0);
        if (writer.pid == 0) {
            close(gate[1]);
            char go = 0;
            // Both start together once the gate is closed.
            while (read(gate[0], &go, 1) > 0) {
            }
            close(writer.report[0]);
            AddUsersAndReport(StorePath(), writer.prefix, 1, kEach, writer.report[1]);
        }
        close(writer.report[1]);
    }
    close(gate[0]);
    close(gate[1]);

    std::size_t committed = 0;
    for (Writer& writer : writers) {
        int value = 0;
        int last = 0;
        while (ReadInt(writer.report[0], &value)) {
            if (value < 0) {
                // The only failure allowed is the clear "store busy" answer.
                EXPECT_EQ(value, rc::kStoreBusy) << writer.prefix;
                break;
            }
            EXPECT_EQ(value, last + 1);
            last = value;
        }
        close(writer.report[0]);
        committed += static_cast<std::size_t>(last);
        int status = 0;
        waitpid(writer.pid, &status, 0);
        EXPECT_TRUE(WIFEXITED(status));
    }
    EXPECT_EQ(view.IntegrityCheck(), "ok");
    EXPECT_EQ(view.Children("Acme")->size(), committed);
    EXPECT_EQ(committed, 2u * kEach) << "with a five-second wait neither writer should give up";
}

TEST_F(EmbeddedProcessTest, WriterHeldTooLongGivesStoreBusyWhileReadsGoOn) {
    EmbeddedOptions options = Options(true);
    options.busyTimeoutMs = 100;
    BindAndStart(OpenStore(options));
    sqlite3* raw = nullptr;
    ASSERT_EQ(sqlite3_open(StorePath().c_str(), &raw), SQLITE_OK);
    const DatabasePtr other(raw);
    ASSERT_EQ(sqlite3_exec(other.get(), "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);

    EXPECT_EQ(AddUser(Client(), "Acme", "waiting", "S"), rc::kStoreBusy);
    // The client's own listing is not held up by the writer.
    EXPECT_EQ(ListEntries("Acme").size(), 3u);

    ASSERT_EQ(sqlite3_exec(other.get(), "ROLLBACK", nullptr, nullptr, nullptr), SQLITE_OK);
    EXPECT_EQ(AddUser(Client(), "Acme", "waiting", "S"), 0);
    EXPECT_EQ(view.Surname("waiting.Acme"), "S");
}
