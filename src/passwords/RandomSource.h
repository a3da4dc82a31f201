#pragma once

#include <cstddef>

// Fills `size` bytes at `out` from the system's cryptographic random source: getrandom(2), or
// /dev/urandom where the kernel has no getrandom. False when neither gives the bytes.
bool FillRandom(void* out, std::size_t size);
