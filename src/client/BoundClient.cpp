#include "client/BoundClient.h"

#include <cassert>
#include <utility>

namespace {
std::unique_ptr<DirectoryClient>& Slot() {
    static std::unique_ptr<DirectoryClient> slot;
    return slot;
}
} // namespace

void BindClient(std::unique_ptr<DirectoryClient> client) {
    Slot() = std::move(client);
}

std::unique_ptr<DirectoryClient> UnbindClient() {
    return std::exchange(Slot(), nullptr);
}

DirectoryClient& Client() {
    assert(Slot() && "no directory client bound");
    return *Slot();
}

bool HasBoundClient() {
    return Slot() != nullptr;
}
