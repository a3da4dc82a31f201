#pragma once

#include <cstddef>

// Core dumps are off while the program holds secret memory: a dump would hold the passwords.
// The first hold lowers RLIMIT_CORE's soft limit to 0 and clears the dumpable flag
// (PR_SET_DUMPABLE, which also keeps other processes of the user from reading our memory); the
// last release puts both back as they were. Safe to call from any thread.
void HoldSecretMemory();
void ReleaseSecretMemory();

// Whether a core dump could be written now: dumpable flag set and a core limit above 0.
bool CoreDumpsPossible();

// Overwrites `size` bytes at `data` in a way the compiler does not leave out.
void WipeMemory(void* data, std::size_t size);
