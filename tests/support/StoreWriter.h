#pragma once

#include "client/ClientTypes.h"

#include <memory>
#include <optional>
#include <string>

class EmbeddedStore;

// Puts fixture entries into an embedded store the way the store itself adds objects, on a
// connection of its own: containers and other classes the client interface cannot create.
class StoreWriter {
public:
    // Opens the store at `path`, creating it without the sample tree when it is new.
    explicit StoreWriter(const std::string& path);
    ~StoreWriter();

    // Result of the open; Add fails with it when it is not 0.
    NWDSCCODE opened() const { return opened_; }
    // Creates `dottedName` (from the top) with `baseClass`, and a "Surname" when one is given.
    NWDSCCODE Add(const std::string& dottedName, const std::string& baseClass,
                  const std::optional<std::string>& surname = std::nullopt);

private:
    std::unique_ptr<EmbeddedStore> store_;
    NWDSCCODE opened_;
};
