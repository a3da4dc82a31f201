// ClientBase: the checks every backend shares before a batch's read, disable, enable or removal.
#include "client/ClientBase.h"

#include "client/ResultCodes.h"

NWDSCCODE ClientBase::ReadBatchCandidates(NWDSContextHandle context, const char* containerName, const char* prefix,
                                          std::vector<BatchCandidate>* candidates) {
    const ContextState* state = FindContext(context);
    if (!state)
        return rc::kBadContext;
    if (!containerName || !prefix || !candidates)
        return rc::kBadArgument;
    const auto container = ResolveName(containerName, state->nameContext);
    if (!container)
        return rc::kIllegalName;
    if (container->empty())
        return rc::kIllegalContainment;
    candidates->clear();
    return CandidatesIn(*container, prefix, candidates);
}

NWDSCCODE ClientBase::ExistingObjectPath(NWDSContextHandle context, const char* objectName,
                                         std::vector<NamePart>* path) {
    const ContextState* state = FindContext(context);
    if (!state)
        return rc::kBadContext;
    if (!objectName)
        return rc::kBadArgument;
    if (const NWDSCCODE code = ResolveObjectPath(*state, objectName, path); code != rc::kSuccess)
        return code;
    return path->size() < 2 ? rc::kIllegalContainment : rc::kSuccess;
}

NWDSCCODE ClientBase::SetLoginDisabled(NWDSContextHandle context, const char* objectName, bool disabled) {
    std::vector<NamePart> path;
    const NWDSCCODE code = ExistingObjectPath(context, objectName, &path);
    return code != rc::kSuccess ? code : SetLoginDisabledAt(path, disabled);
}

NWDSCCODE ClientBase::RemoveEntry(NWDSContextHandle context, const char* objectName) {
    std::vector<NamePart> path;
    const NWDSCCODE code = ExistingObjectPath(context, objectName, &path);
    return code != rc::kSuccess ? code : RemoveAt(path);
}
