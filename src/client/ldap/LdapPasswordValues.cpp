#include "LdapPasswordValues.h"

#include <openssl/crypto.h>
#include <openssl/evp.h>
#include <openssl/rand.h>

#include <array>
#include <cstdint>

namespace {
constexpr std::size_t kSaltBytes = 8;

// Code points of well-formed UTF-8 (no overlong forms, no surrogates, nothing above U+10FFFF).
std::optional<std::u32string> DecodeUtf8(std::string_view text) {
    std::u32string points;
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const std::size_t length = lead < 0x80           ? 1
                                   : (lead >> 5) == 0x6  ? 2
                                   : (lead >> 4) == 0xE  ? 3
                                   : (lead >> 3) == 0x1E ? 4
                                                         : 0;
        if (length == 0 || i + length > text.size())
            return std::nullopt;
        char32_t point = length == 1 ? lead : lead & (0x7F >> length);
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80)
                return std::nullopt;
            point = (point << 6) | (next & 0x3F);
        }
        constexpr std::array<char32_t, 5> kSmallest{0, 0, 0x80, 0x800, 0x10000};
        if (point < kSmallest[length] || point > 0x10FFFF || (point >= 0xD800 && point <= 0xDFFF))
            return std::nullopt;
        points.push_back(point);
        i += length;
    }
    return points;
}

void AppendUtf16Le(std::string* out, char32_t unit) {
    out->push_back(static_cast<char>(unit & 0xFF));
    out->push_back(static_cast<char>(unit >> 8));
}
} // namespace

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

std::optional<std::string> UnicodePwdValue(std::string_view password) {
    const auto points = DecodeUtf8(password);
    if (!points)
        return std::nullopt;
    std::string value;
    AppendUtf16Le(&value, U'"');
    for (const char32_t point : *points) {
        if (point < 0x10000) {
            AppendUtf16Le(&value, point);
        } else {
            AppendUtf16Le(&value, 0xD800 + ((point - 0x10000) >> 10));
            AppendUtf16Le(&value, 0xDC00 + ((point - 0x10000) & 0x3FF));
        }
    }
    AppendUtf16Le(&value, U'"');
    return value;
}
