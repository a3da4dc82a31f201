#include "client/ldap/users/OpenLdapUser.h"

#include <lber.h>
#include <ldap.h>
#include <openssl/crypto.h>
#include <openssl/evp.h>
#include <openssl/rand.h>

#include <array>

namespace {
constexpr std::size_t kSaltBytes = 8;
} // namespace

NWDSCCODE AddOpenLdapPassword(const NewUser& user, std::vector<UserAttribute>* attributes) {
    auto hash = SaltedSha1(*user.password);
    if (!hash)
        return LDAP_LOCAL_ERROR;
    attributes->push_back({"userPassword", {std::move(*hash)}, false});
    if (user.mustChange)
        attributes->push_back({"pwdReset", {"TRUE"}});
    return LDAP_SUCCESS;
}

std::optional<std::string> SaltedSha1(std::string_view password) {
    std::array<unsigned char, 20 + kSaltBytes> digestAndSalt{};
    unsigned char* salt = digestAndSalt.data() + 20;
    if (RAND_bytes(salt, static_cast<int>(kSaltBytes)) != 1)
        return std::nullopt;
    std::string salted(password);
    salted.append(reinterpret_cast<const char*>(salt), kSaltBytes);
    unsigned int digestLength = 0;
    const bool hashed =
        EVP_Digest(salted.data(), salted.size(), digestAndSalt.data(), &digestLength, EVP_sha1(), nullptr) == 1;
    OPENSSL_cleanse(salted.data(), salted.size());
    if (!hashed || digestLength != 20)
        return std::nullopt;
    // Base64 of 28 bytes: 40 characters and the NUL EVP_EncodeBlock writes.
    std::array<unsigned char, 41> encoded{};
    const int length = EVP_EncodeBlock(encoded.data(), digestAndSalt.data(), static_cast<int>(digestAndSalt.size()));
    return "{SSHA}" + std::string(reinterpret_cast<const char*>(encoded.data()), static_cast<std::size_t>(length));
}
