#include "client/embedded/PasswordHash.h"

#include "client/CHandle.h"

#include <crypt.h>

#include <cstdlib>
#include <cstring>
#include <memory>

namespace {
// yescrypt's cost: 3 takes about 7 ms a hash on a 2-core machine (1: 2 ms, the system's default
// for login passwords, 5: 30 ms), so a run of 9,999 users spends about a minute hashing rather
// than five; it is still thousands of times the work of a fast digest, and memory-hard.
constexpr unsigned long kYescryptCost = 3;

using SaltPtr = CHandle<char, std::free>;

// crypt_rn's work area is large (tens of KiB) and holds the hash afterwards: on the heap, wiped.
struct CryptArea {
    CryptArea() : data(std::make_unique<crypt_data>()) {}
    ~CryptArea() { explicit_bzero(data.get(), sizeof *data); }
    std::unique_ptr<crypt_data> data;
};

// crypt_rn's result, or null when it failed (it may also return a text starting with "*").
const char* Crypt(const std::string& clearText, const char* setting, CryptArea& area) {
    const char* result = crypt_rn(clearText.c_str(), setting, area.data.get(), sizeof *area.data);
    return result && result[0] != '*' ? result : nullptr;
}
} // namespace

std::optional<std::string> HashPassword(const std::string& clearText) {
    // No random bytes given: libcrypt takes them from the system's random source.
    const SaltPtr setting(crypt_gensalt_ra("$y$", kYescryptCost, nullptr, 0));
    if (!setting)
        return std::nullopt;
    CryptArea area;
    const char* hash = Crypt(clearText, setting.get(), area);
    if (!hash)
        return std::nullopt;
    return std::string(hash);
}

bool PasswordMatches(const std::string& hash, const std::string& clearText) {
    CryptArea area;
    const char* computed = Crypt(clearText, hash.c_str(), area);
    if (!computed || std::strlen(computed) != hash.size())
        return false;
    // Every byte compared, whatever the first difference.
    unsigned char difference = 0;
    for (std::size_t i = 0; i < hash.size(); ++i)
        difference |= static_cast<unsigned char>(computed[i] ^ hash[i]);
    return difference == 0;
}
