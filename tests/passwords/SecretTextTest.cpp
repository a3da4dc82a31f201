#include "passwords/SecretText.h"
#include "passwords/RandomPassword.h"

#include <gtest/gtest.h>

#include <sys/prctl.h>
#include <sys/resource.h>

// The process's own state, as the kernel reports it: no core is written while any password is
// held, whatever holds it, and dumps come back once the last one is dropped.
TEST(SecretTextTest, CoreDumpsAreOffWhileAnyPasswordIsHeld) {
    rlimit limit{};
    ASSERT_EQ(getrlimit(RLIMIT_CORE, &limit), 0);
    if (limit.rlim_max == 0)
        GTEST_SKIP() << "core dumps are off for good here";
    limit.rlim_cur = limit.rlim_max;
    ASSERT_EQ(setrlimit(RLIMIT_CORE, &limit), 0);
    ASSERT_EQ(prctl(PR_SET_DUMPABLE, 1, 0, 0, 0), 0);
    ASSERT_TRUE(CoreDumpsPossible());

    std::optional<SecretText> random = RandomPassword(12);
    ASSERT_TRUE(random);
    EXPECT_EQ(prctl(PR_GET_DUMPABLE, 0, 0, 0, 0), 0);
    ASSERT_EQ(getrlimit(RLIMIT_CORE, &limit), 0);
    EXPECT_EQ(limit.rlim_cur, 0u);
    {
        SecretText copy = *random;
        SecretText moved = std::move(*random);
        random.reset();
        EXPECT_FALSE(CoreDumpsPossible());
        copy.Clear();
        EXPECT_TRUE(copy.empty());
        EXPECT_EQ(std::string(copy.CString()), "");
        EXPECT_FALSE(CoreDumpsPossible()); // `moved` still holds it
        EXPECT_EQ(moved.size(), 12u);
    }
    EXPECT_TRUE(CoreDumpsPossible());
    ASSERT_EQ(getrlimit(RLIMIT_CORE, &limit), 0);
    EXPECT_EQ(limit.rlim_cur, limit.rlim_max);
}
