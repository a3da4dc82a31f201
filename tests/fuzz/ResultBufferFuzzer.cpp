// Client buffers. The first input byte chooses what the rest is:
//  - even: listed entries, one per line as name, a tab and base class; they go into a result
//    buffer as a listing fills it and come out through GetObjectName into areas of exactly the
//    callers' sizes: the same entries in the same order, or empty ones for names that cannot be
//    handed out whole;
//  - odd: the raw bytes of a buffer (after a count and what it was prepared for), read with every
//    buffer operation, none of which may read outside them.
#include "FuzzInput.h"
#include "client/ClientBase.h"
#include "client/ResultCodes.h"

#include <cstring>
#include <memory>
#include <string>

namespace {
// A client whose listing delivers the fuzzer's entries and whose add only checks its request.
class FuzzClient final : public ClientBase {
public:
    std::vector<std::pair<std::string, std::string>> entries;

    NWCCODE StartClientLibrary(void*, void*) override { return 0; }
    NWCCODE OpenClientScope(std::uint32_t*) override { return 0; }
    NWCCODE AttachClient(std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t*) override { return 0; }
    NWDSCCODE NWDSAddObject(NWDSContextHandle context, const char* objectName, std::int32_t*, std::uint8_t,
                            NWBufHandle buffer) override {
        UserRequest request;
        return ReadUserRequest(context, objectName, buffer, &request);
    }
    NWDSCCODE ListSubordinates(NWDSContextHandle context, const char* parentName, std::int32_t* iterationHandle,
                               NWBufHandle buffer) override {
        const Handles found = CheckListingRequest(context, buffer, parentName, iterationHandle);
        if (found.code != rc::kSuccess)
            return found.code;
        found.buffer->ClearResults();
        std::size_t taken = 0;
        while (taken < entries.size() && found.buffer->AppendEntry(entries[taken].first, entries[taken].second))
            ++taken;
        entries.erase(entries.begin(), entries.begin() + static_cast<std::ptrdiff_t>(taken));
        *iterationHandle = entries.empty() ? kNoMoreIterations : 1;
        return rc::kSuccess;
    }
    NWDSCCODE WhoAmI(NWDSContextHandle, char*) override { return rc::kBadArgument; }
    PasswordSupport QueryPasswordSupport() override { return {}; }
    ExpiryLimit QueryExpirySupport() override { return ExpiryLimit::None; }
    PosixLimit QueryPosixSupport() override { return PosixLimit::NoSchema; }
    NWDSCCODE UidNumbersIn(const std::vector<NamePart>&, std::uint32_t, const UidRange&, UidBlock*) override {
        return rc::kBadArgument;
    }
    NWDSCCODE DirectoryNameOf(const std::vector<NamePart>&, std::string*) override { return rc::kBadArgument; }
    NWDSCCODE ListGroups(std::vector<DirectoryGroup>*) override { return rc::kBadArgument; }
    NWDSCCODE AddGroupMembers(const std::string&, const std::vector<GroupMember>&) override { return rc::kBadArgument; }
    NWDSCCODE TakenLoginNamesIn(const std::vector<NamePart>&, const std::vector<std::string>&,
                                std::vector<std::string>*) override {
        return rc::kBadArgument;
    }
    NWDSCCODE CandidatesIn(const std::vector<NamePart>&, const std::string&, std::vector<BatchCandidate>*) override {
        return rc::kBadArgument;
    }
    NWDSCCODE SetLoginDisabledAt(const std::vector<NamePart>&, bool) override { return rc::kBadArgument; }
    NWDSCCODE RemoveAt(const std::vector<NamePart>&) override { return rc::kBadArgument; }
    ClientBuffer* Buffer(NWBufHandle buffer) { return FindBuffer(buffer); }
};

bool FitsWhole(std::string_view text, std::size_t area) {
    return text.size() < area && text.find('\0') == std::string_view::npos;
}

// Reads the next entry into areas of exactly the callers' sizes, on the heap so that the
// address sanitizer sees any byte written past them.
NWDSCCODE ReadEntry(FuzzClient& client, NWDSContextHandle context, NWBufHandle buffer, std::string* name,
                    std::string* baseClass) {
    auto nameArea = std::make_unique<char[]>(kEntryNameSize);
    auto info = std::make_unique<ObjectInfoArea>();
    std::uint32_t attributes = 0;
    const NWDSCCODE code = client.GetObjectName(context, buffer, nameArea.get(), &attributes, info.get());
    if (code == rc::kSuccess) {
        FUZZ_CHECK(std::memchr(nameArea.get(), '\0', kEntryNameSize) != nullptr);
        FUZZ_CHECK(std::memchr(info->data() + kBaseClassOffset, '\0', kObjectInfoSize - kBaseClassOffset) != nullptr);
        *name = nameArea.get();
        *baseClass = info->data() + kBaseClassOffset;
    }
    return code;
}

void EntriesInEntriesOut(std::string_view text) {
    FuzzClient client;
    for (std::string_view line : Lines(text)) {
        const std::size_t tab = line.find('\t');
        client.entries.emplace_back(std::string(line.substr(0, tab)),
                                    tab == std::string_view::npos ? std::string() : std::string(line.substr(tab + 1)));
    }
    const auto expected = client.entries;
    NWDSContextHandle context = 0;
    NWBufHandle buffer = 0;
    FUZZ_CHECK(client.CreateContext(&context) == 0 && client.NWDSAllocBuf(kBufferSize, &buffer) == 0);

    std::size_t next = 0;
    std::int32_t iteration = kNoMoreIterations;
    do {
        FUZZ_CHECK(client.ListSubordinates(context, ".Box", &iteration, buffer) == rc::kSuccess);
        std::uint32_t count = 0;
        FUZZ_CHECK(client.GetObjectCount(context, buffer, &count) == rc::kSuccess);
        // Every entry fits an empty buffer, so each batch takes at least one.
        FUZZ_CHECK(count > 0 || expected.empty());
        for (std::uint32_t i = 0; i < count; ++i, ++next) {
            std::string name;
            std::string baseClass;
            FUZZ_CHECK(ReadEntry(client, context, buffer, &name, &baseClass) == rc::kSuccess);
            FUZZ_CHECK(next < expected.size());
            const auto& [sentName, sentClass] = expected[next];
            const bool whole = !sentName.empty() && FitsWhole(sentName, kEntryNameSize) &&
                               FitsWhole(sentClass, kObjectInfoSize - kBaseClassOffset);
            FUZZ_CHECK(whole ? name == sentName && baseClass == sentClass : name.empty() && baseClass.empty());
        }
        std::string name;
        std::string baseClass;
        FUZZ_CHECK(ReadEntry(client, context, buffer, &name, &baseClass) == rc::kNoMoreEntries);
    } while (iteration != kNoMoreIterations);
    FUZZ_CHECK(next == expected.size());
}

void AnyBytesAsABuffer(const std::uint8_t* data, std::size_t size) {
    if (size < 5)
        return;
    std::uint32_t count = 0;
    std::memcpy(&count, data, sizeof count);
    const auto use = static_cast<ClientBuffer::Use>(data[4] % 3);
    const std::string_view bytes = InputText(data + 5, size - 5);

    FuzzClient client;
    NWDSContextHandle context = 0;
    NWBufHandle buffer = 0;
    FUZZ_CHECK(client.CreateContext(&context) == 0 && client.NWDSAllocBuf(kBufferSize, &buffer) == 0);
    ClientBuffer& raw = *client.Buffer(buffer);
    if (!raw.Restore(use, kOperationAddEntry, count, bytes)) {
        FUZZ_CHECK(bytes.size() > kBufferSize);
        return;
    }
    // Read straight from the buffer: every text lies inside the bytes written.
    const std::string_view inside = raw.bytes();
    const auto within = [&](std::string_view text) {
        return text.data() >= inside.data() && text.data() + text.size() <= inside.data() + inside.size();
    };
    std::string_view name;
    std::string_view baseClass;
    std::uint32_t read = 0;
    while (raw.ReadEntry(&name, &baseClass)) {
        FUZZ_CHECK(within(name) && within(baseClass));
        ++read;
    }
    FUZZ_CHECK(read <= count);
    for (const ClientBuffer::Attribute& attribute : raw.Attributes())
        FUZZ_CHECK(attribute.name.size() + attribute.value.size() <= bytes.size());

    // Again from the start, through the client, as the callers read it.
    FUZZ_CHECK(raw.Restore(use, kOperationAddEntry, count, bytes));
    std::uint32_t counted = 0;
    const NWDSCCODE countCode = client.GetObjectCount(context, buffer, &counted);
    FUZZ_CHECK(use == ClientBuffer::Use::kResults ? countCode == rc::kSuccess && counted == count
                                                  : countCode == rc::kWrongOperation);
    std::string entryName;
    std::string entryClass;
    NWDSCCODE code = rc::kSuccess;
    for (std::uint32_t i = 0; i <= read && code != rc::kNoMoreEntries && code != rc::kWrongOperation; ++i)
        code = ReadEntry(client, context, buffer, &entryName, &entryClass);
    std::int32_t iteration = kNoMoreIterations;
    const NWDSCCODE added = client.NWDSAddObject(context, "u", &iteration, 0, buffer);
    FUZZ_CHECK(use == ClientBuffer::Use::kRequest || added == rc::kWrongOperation);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    if (data[0] % 2 == 0)
        EntriesInEntriesOut(InputText(data + 1, size - 1));
    else
        AnyBytesAsABuffer(data + 1, size - 1);
    return 0;
}
