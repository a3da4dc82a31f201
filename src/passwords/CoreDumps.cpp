#include "passwords/CoreDumps.h"

#include <cstring>
#include <mutex>
#include <sys/prctl.h>
#include <sys/resource.h>

namespace {
struct DumpState {
    std::mutex mutex;
    std::size_t holds = 0;
    rlimit savedLimit{};
    int savedDumpable = 1;
};

DumpState& State() {
    static DumpState state;
    return state;
}
} // namespace

void HoldSecretMemory() {
    DumpState& state = State();
    const std::lock_guard lock(state.mutex);
    if (state.holds++ > 0)
        return;
    getrlimit(RLIMIT_CORE, &state.savedLimit);
    rlimit off = state.savedLimit;
    off.rlim_cur = 0; // the hard limit stays: the program may dump again once it holds no secret
    setrlimit(RLIMIT_CORE, &off);
    state.savedDumpable = prctl(PR_GET_DUMPABLE, 0, 0, 0, 0);
    prctl(PR_SET_DUMPABLE, 0, 0, 0, 0);
}

void ReleaseSecretMemory() {
    DumpState& state = State();
    const std::lock_guard lock(state.mutex);
    if (state.holds == 0 || --state.holds > 0)
        return;
    setrlimit(RLIMIT_CORE, &state.savedLimit);
    if (state.savedDumpable > 0)
        prctl(PR_SET_DUMPABLE, state.savedDumpable, 0, 0, 0);
}

bool CoreDumpsPossible() {
    rlimit limit{};
    return prctl(PR_GET_DUMPABLE, 0, 0, 0, 0) > 0 && getrlimit(RLIMIT_CORE, &limit) == 0 && limit.rlim_cur > 0;
}

void WipeMemory(void* data, std::size_t size) {
    if (data && size > 0)
        explicit_bzero(data, size);
}
