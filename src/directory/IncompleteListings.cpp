#include "directory/IncompleteListings.h"

#include "directory/CheckNDSError.h"

void IncompleteListings::Note(const WalkedContainer& container, NWDSCCODE code) {
    if (!ListingFailed(code))
        return;
    if (named_.size() < kNamed)
        named_.emplace_back(ContainerDottedName(container), code);
    ++count_;
}

std::string IncompleteListings::Message() const {
    if (count_ == 0)
        return {};
    std::string text = "The scan is incomplete: " + std::to_string(count_) +
                       (count_ == 1 ? " container" : " containers") + " could not be listed completely.";
    for (const auto& [name, code] : named_)
        text += "\r\n" + name + " - " + ErrorCodeText(code);
    if (count_ > named_.size())
        text += "\r\n... and " + std::to_string(count_ - named_.size()) + " more.";
    return text;
}
