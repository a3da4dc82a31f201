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

NWDSCCODE ClientBase::SetLoginDisabled(NWDSContextHandle context, const char* objectName, bool disabled) {
    const ContextState* state = FindContext(context);
    if (!state)
        return rc::kBadContext;
    if (!objectName)
        return rc::kBadArgument;
    std::vector<NamePart> path;
    if (const NWDSCCODE code = ResolveObjectPath(*state, objectName, &path); code != rc::kSuccess)
        return code;
    if (path.size() < 2)
        return rc::kIllegalContainment;
    return SetLoginDisabledAt(path, disabled);
}

NWDSCCODE ClientBase::RemoveEntry(NWDSContextHandle context, const char* objectName) {
    const ContextState* state = FindContext(context);
    if (!state)
        return rc::kBadContext;
    if (!objectName)
        return rc::kBadArgument;
    std::vector<NamePart> path;
    if (const NWDSCCODE code = ResolveObjectPath(*state, objectName, &path); code != rc::kSuccess)
        return code;
    if (path.size() < 2)
        return rc::kIllegalContainment;
    return RemoveAt(path);
}
