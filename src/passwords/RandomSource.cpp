#include "passwords/RandomSource.h"

#include <cerrno>
#include <cstdio>
#include <memory>
#include <sys/random.h>

namespace {
bool FillFromDevice(unsigned char* out, std::size_t size) {
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> device(std::fopen("/dev/urandom", "rbe"), std::fclose);
    return device && std::fread(out, 1, size, device.get()) == size;
}
} // namespace

bool FillRandom(void* out, std::size_t size) {
    auto* bytes = static_cast<unsigned char*>(out);
    std::size_t filled = 0;
    while (filled < size) {
        const ssize_t got = getrandom(bytes + filled, size - filled, 0);
        if (got > 0) {
            filled += static_cast<std::size_t>(got);
            continue;
        }
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0 && errno == ENOSYS)
            return FillFromDevice(bytes + filled, size - filled);
        return false;
    }
    return true;
}
