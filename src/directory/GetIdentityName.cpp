#include "directory/GetIdentityName.h"

#include "client/BoundClient.h"

#include <array>

std::string GetIdentityName(NWDSContextHandle context) {
    std::array<char, kIdentitySize> identity{};
    if (Client().WhoAmI(context, identity.data()) != 0)
        return {};
    identity.back() = '\0';
    return identity.data();
}
