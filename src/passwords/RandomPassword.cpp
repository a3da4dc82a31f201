#include "passwords/RandomPassword.h"

#include "passwords/RandomSource.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace {
constexpr std::size_t kAlphabetSize = kPasswordUpper.size() + kPasswordLower.size() + kPasswordDigits.size();

constexpr std::array<char, kAlphabetSize> Alphabet() {
    std::array<char, kAlphabetSize> alphabet{};
    auto out = alphabet.begin();
    for (std::string_view part : {kPasswordUpper, kPasswordLower, kPasswordDigits})
        out = std::copy(part.begin(), part.end(), out);
    return alphabet;
}
constexpr std::array<char, kAlphabetSize> kAlphabet = Alphabet();

// Bytes at or above this would make the first characters likelier: they are drawn again.
constexpr unsigned kUnbiasedLimit = 256 - 256 % kAlphabetSize;

bool HasEveryKind(std::string_view password) {
    const auto has = [password](std::string_view kind) { return password.find_first_of(kind) != std::string::npos; };
    return has(kPasswordUpper) && has(kPasswordLower) && has(kPasswordDigits);
}
} // namespace

std::optional<SecretText> RandomPassword(int length) {
    if (length < 3)
        return std::nullopt;
    SecretText password;
    std::array<unsigned char, 128> pool{};
    std::size_t used = pool.size();
    // Drawing whole passwords until one holds every kind keeps all valid passwords equally
    // likely; for 8 characters about two draws in three succeed.
    do {
        password.Clear();
        password.Reserve(static_cast<std::size_t>(length));
        while (password.size() < static_cast<std::size_t>(length)) {
            if (used == pool.size()) {
                if (!FillRandom(pool.data(), pool.size())) {
                    explicit_bzero(pool.data(), pool.size());
                    return std::nullopt;
                }
                used = 0;
            }
            const unsigned byte = pool[used++];
            if (byte < kUnbiasedLimit)
                password.Append(kAlphabet[byte % kAlphabetSize]);
        }
    } while (!HasEveryKind(password.View()));
    explicit_bzero(pool.data(), pool.size());
    return password;
}
