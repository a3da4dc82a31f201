#include "passwords/RandomPassword.h"

#include <gtest/gtest.h>

#include <sys/prctl.h>
#include <sys/resource.h>

// The kernel's view of the process: no core is written while any password is held, whichever copy
// holds it, and dumps come back once the last one is dropped.
TEST(SecretTextTest, CoreDumpsAreOffWhileAnyPasswordIsHeld) {
    rlimit limit{};
    ASSERT_EQ(getrlimit(RLIMIT_CORE, &limit), 0);
    if (limit.rlim_max == 0)
        GTEST_SKIP() << "core dumps are off for good here";
    limit.rlim_cur = limit.rlim_max;
    ASSERT_EQ(setrlimit(RLIMIT_CORE, &limit), 0);
    ASSERT_EQ(prctl(PR_SET_DUMPABLE, 1, 0, 0, 0), 0);
    std::optional<SecretText> random = RandomPassword(12);
    ASSERT_TRUE(random);
    EXPECT_EQ(prctl(PR_GET_DUMPABLE, 0, 0, 0, 0), 0);
    {
        const SecretText copy = *random;
        random.reset();
        EXPECT_FALSE(CoreDumpsPossible());
    }
    EXPECT_TRUE(CoreDumpsPossible()); // the limit as well as the flag
}
