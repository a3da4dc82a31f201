#include "directory/AccountBatch.h"

#include "client/BoundClient.h"
#include "client/DottedName.h"
#include "client/SchemaNames.h"
#include "conversion/IndexText.h"
#include "directory/CheckNDSError.h"
#include "directory/DirectoryQueries.h"
#include "directory/SharedContext.h"

#include <algorithm>
#include <cctype>
#include <unordered_map>

namespace {
std::string Folded(std::string_view text) {
    std::string folded(text);
    std::transform(folded.begin(), folded.end(), folded.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return folded;
}

const char* ActionLabel(BatchAction action) {
    switch (action) {
    case BatchAction::Disable:
        return "Trying to disable userobject with SetLoginDisabled";
    case BatchAction::Enable:
        return "Trying to enable userobject with SetLoginDisabled";
    case BatchAction::Remove:
        break;
    }
    return "Trying to remove userobject with RemoveEntry";
}
} // namespace

const char* ActionVerb(BatchAction action) {
    switch (action) {
    case BatchAction::Disable:
        return "disable";
    case BatchAction::Enable:
        return "enable";
    case BatchAction::Remove:
        break;
    }
    return "remove";
}

const char* ActionPast(BatchAction action) {
    switch (action) {
    case BatchAction::Disable:
        return "disabled";
    case BatchAction::Enable:
        return "enabled";
    case BatchAction::Remove:
        break;
    }
    return "removed";
}

std::vector<std::string> AccountBatch::RangeNames() const {
    std::vector<std::string> names;
    std::int32_t index = range_.start;
    for (std::int32_t i = 0; i < range_.count; ++i) {
        names.push_back(range_.prefix + IndexText(index, range_.digits));
        index = static_cast<std::int32_t>(static_cast<std::uint32_t>(index) + 1u);
    }
    return names;
}

bool AccountBatch::Read() {
    preview_ = {};
    LastDirResult = SetNameContext(DirContext, range_.container);
    if (CheckNDSError(LastDirResult, "Setting the container with SetNameContext"))
        return false;
    std::vector<BatchCandidate> candidates;
    // Named from the top, the container does not depend on the context's name context.
    const std::string container = "." + range_.container;
    if (CheckNDSError(Client().ReadBatchCandidates(DirContext, container.c_str(), range_.prefix.c_str(), &candidates),
                      "Reading the batch with ReadBatchCandidates"))
        return false;
    std::unordered_map<std::string, const BatchCandidate*> byName;
    for (const BatchCandidate& candidate : candidates)
        byName.emplace(Folded(candidate.name), &candidate);

    for (const std::string& name : RangeNames()) {
        const auto found = byName.find(Folded(name));
        if (found == byName.end()) {
            preview_.missing.push_back(name);
            continue;
        }
        const BatchCandidate& entry = *found->second;
        if (entry.baseClass != kUserClass)
            preview_.skipped.push_back({entry.name, "not a user (" + entry.baseClass + ")"});
        else if (entry.hasSubordinates)
            preview_.skipped.push_back({entry.name, "holds entries of its own"});
        else
            preview_.targets.push_back(entry.name);
    }
    return true;
}

bool AccountBatch::Run(const std::function<void(std::size_t done)>& progress) {
    done_.clear();
    LastDirResult = SetNameContext(DirContext, range_.container);
    if (CheckNDSError(LastDirResult, "Setting the container with SetNameContext"))
        return false;
    DirectoryClient& client = Client();
    for (const std::string& name : preview_.targets) {
        const std::string literal = EscapeNamePart(name);
        // Asked before a removal, while the entry is still there to be named.
        std::string directoryName = DirectoryNameOf(range_.container, name);
        const NWDSCCODE code =
            action_ == BatchAction::Remove
                ? client.RemoveEntry(DirContext, literal.c_str())
                : client.SetLoginDisabled(DirContext, literal.c_str(), action_ == BatchAction::Disable);
        if (CheckNDSError(code, ActionLabel(action_)))
            return false;
        done_.push_back({name, std::move(directoryName)});
        if (progress)
            progress(done_.size());
    }
    return true;
}
