#include "StoreWriter.h"

#include "client/DottedName.h"
#include "client/ResultCodes.h"
#include "client/SchemaNames.h"
#include "client/embedded/EmbeddedStore.h"

StoreWriter::StoreWriter(const std::string& path)
    : opened_(EmbeddedStore::Open(path, /*sample=*/false, /*busyTimeoutMs=*/5000, &store_)) {}

StoreWriter::~StoreWriter() = default;

NWDSCCODE StoreWriter::Add(const std::string& dottedName, const std::string& baseClass,
                           const std::optional<std::string>& surname) {
    if (!store_)
        return opened_;
    const auto resolved = ResolveName(dottedName, kRootName);
    const auto path = resolved ? TypelessValues(*resolved) : std::nullopt;
    if (!path || path->empty())
        return rc::kIllegalName;
    std::vector<EmbeddedStore::Attribute> attributes;
    if (surname)
        attributes.push_back({kSurnameAttribute, *surname});
    return store_->Add(*path, baseClass, attributes);
}
