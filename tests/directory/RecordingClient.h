#pragma once

#include "client/DirectoryClient.h"

#include <cstring>
#include <deque>
#include <map>
#include <string>
#include <utility>
#include <vector>

// A scriptable client that records every call with its arguments, for checking exact call
// sequences. Results are scripted per operation name; listing batches are scripted as lists of
// (name, base class), in the order of the calls or by container.
class RecordingClient : public DirectoryClient {
public:
    using Entry = std::pair<std::string, std::string>;

    std::vector<std::string> calls;
    std::map<std::string, std::deque<int>> results; // next results per operation; 0 when none left
    std::deque<std::vector<Entry>> batches;         // delivered one per ListSubordinates call
    // When set instead, each listing is one batch: the entries scripted for the name listed.
    std::map<std::string, std::vector<Entry>> containers;
    std::string identity = "Admin.Acme";
    std::uint32_t scopeValue = 0x55;
    std::uint32_t attachedHandle = 1;

    NWCCODE StartClientLibrary(void* a, void* b) override {
        Record("StartClientLibrary(" + Null(a) + "," + Null(b) + ")");
        return static_cast<NWCCODE>(Next("StartClientLibrary"));
    }
    NWCCODE OpenClientScope(std::uint32_t* scope) override {
        Record("OpenClientScope");
        *scope = scopeValue;
        return static_cast<NWCCODE>(Next("OpenClientScope"));
    }
    NWCCODE AttachClient(std::uint32_t scope, std::uint32_t mode, std::uint32_t reserved,
                         std::uint32_t* handle) override {
        Record("AttachClient(" + N(scope) + "," + N(mode) + "," + N(reserved) + ")");
        const int result = Next("AttachClient");
        if (result == 0)
            *handle = attachedHandle;
        return static_cast<NWCCODE>(result);
    }
    NWDSCCODE CreateContext(NWDSContextHandle* context) override {
        *context = nextContext++;
        Record("CreateContext->" + N(*context));
        return Next("CreateContext");
    }
    NWDSCCODE FreeContext(NWDSContextHandle context) override {
        Record("FreeContext(" + N(context) + ")");
        return Next("FreeContext");
    }
    NWDSCCODE GetContext(NWDSContextHandle context, std::int32_t key, std::uint32_t* value) override {
        Record("GetContext(" + N(context) + "," + N(key) + ")");
        *value = flagsOnRead;
        return Next("GetContext");
    }
    NWDSCCODE SetContext(NWDSContextHandle context, std::int32_t key, const void* value) override {
        std::string shown;
        if (key == 3) {
            shown = static_cast<const char*>(value);
        } else {
            std::uint32_t v = 0;
            std::memcpy(&v, value, sizeof v);
            shown = N(v);
        }
        Record("SetContext(" + N(context) + "," + N(key) + "," + shown + ")");
        return Next("SetContext");
    }
    NWDSCCODE NWDSAllocBuf(std::size_t size, NWBufHandle* buffer) override {
        *buffer = nextBuffer++;
        Record("AllocBuf(" + N(size) + ")->" + N(*buffer));
        return Next("AllocBuf");
    }
    NWDSCCODE FreeBuf(NWBufHandle buffer) override {
        Record("FreeBuf(" + N(buffer) + ")");
        return Next("FreeBuf");
    }
    NWDSCCODE NWDSInitBuf(NWDSContextHandle context, std::uint32_t operation, NWBufHandle buffer) override {
        Record("InitBuf(" + N(context) + "," + N(operation) + "," + N(buffer) + ")");
        return Next("InitBuf");
    }
    NWDSCCODE NWDSPutAttrNameAndVal(NWDSContextHandle context, NWBufHandle buffer, const char* name,
                                    std::uint32_t syntax, const void* value) override {
        Record("PutAttr(" + N(context) + "," + N(buffer) + "," + name + "," + N(syntax) + "," +
               static_cast<const char*>(value) + ")");
        return Next("PutAttr");
    }
    NWDSCCODE NWDSAddObject(NWDSContextHandle context, const char* name, std::int32_t* iteration, std::uint8_t more,
                            NWBufHandle buffer) override {
        Record("AddObject(" + N(context) + "," + name + "," + std::to_string(*iteration) + "," + N(more) + "," +
               N(buffer) + ")");
        return Next("AddObject");
    }
    NWDSCCODE ListSubordinates(NWDSContextHandle context, const char* parent, std::int32_t* iteration,
                               NWBufHandle buffer) override {
        Record("List(" + N(context) + "," + parent + "," + std::to_string(*iteration) + "," + N(buffer) + ")");
        const int result = Next("List");
        if (result != 0)
            return result;
        current.clear();
        if (!containers.empty()) {
            if (auto it = containers.find(parent); it != containers.end())
                current = it->second;
            readIndex = 0;
            *iteration = -1;
            return 0;
        }
        if (!batches.empty()) {
            current = std::move(batches.front());
            batches.pop_front();
        }
        readIndex = 0;
        *iteration = batches.empty() ? -1 : 7;
        return 0;
    }
    NWDSCCODE GetObjectCount(NWDSContextHandle context, NWBufHandle buffer, std::uint32_t* count) override {
        Record("Count(" + N(context) + "," + N(buffer) + ")");
        *count = static_cast<std::uint32_t>(current.size());
        return Next("Count");
    }
    NWDSCCODE GetObjectName(NWDSContextHandle context, NWBufHandle buffer, char* name, std::uint32_t* attrCount,
                            ObjectInfoArea* info) override {
        Record("Read(" + N(context) + "," + N(buffer) + ")");
        const int scripted = Next("Read");
        if (scripted != 0)
            return scripted;
        if (readIndex >= current.size())
            return -307;
        const Entry& entry = current[readIndex++];
        std::strcpy(name, entry.first.c_str());
        info->fill('\0');
        std::strcpy(info->data() + kBaseClassOffset, entry.second.c_str());
        *attrCount = 2;
        return 0;
    }
    NWDSCCODE WhoAmI(NWDSContextHandle context, char* out) override {
        Record("WhoAmI(" + N(context) + ")");
        const int result = Next("WhoAmI");
        if (result == 0)
            std::strcpy(out, identity.c_str());
        return result;
    }

    PasswordSupport QueryPasswordSupport() override {
        Record("QueryPasswordSupport");
        return passwordSupport;
    }
    NWDSCCODE ObjectDirectoryName(NWDSContextHandle context, const char* objectName, std::string* name) override {
        Record("ObjectDirectoryName(" + N(context) + "," + objectName + ")");
        *name = std::string(objectName) + ",directory";
        return Next("ObjectDirectoryName");
    }
    NWDSCCODE FindTakenLoginNames(NWDSContextHandle, const std::vector<std::string>&,
                                  std::vector<std::string>* taken) override {
        taken->clear();
        return 0;
    }
    NWDSCCODE ListGroups(std::vector<DirectoryGroup>*) override { return 0; }
    NWDSCCODE AddGroupMembers(const std::string&, const std::vector<GroupMember>&) override { return 0; }
    ExpiryLimit QueryExpirySupport() override { return ExpiryLimit::None; }
    PosixLimit QueryPosixSupport() override { return PosixLimit::None; }
    NWDSCCODE ReserveUidNumbers(NWDSContextHandle, std::uint32_t, const UidRange& range, UidBlock* block) override {
        block->first = range.low;
        return Next("ReserveUidNumbers");
    }
    NWDSCCODE ReadBatchCandidates(NWDSContextHandle, const char*, const char*, std::vector<BatchCandidate>*) override {
        return Next("ReadBatchCandidates");
    }
    NWDSCCODE SetLoginDisabled(NWDSContextHandle, const char*, bool) override { return Next("SetLoginDisabled"); }
    NWDSCCODE RemoveEntry(NWDSContextHandle, const char*) override { return Next("RemoveEntry"); }

    std::uint32_t flagsOnRead = 0x10;
    PasswordSupport passwordSupport{PasswordLimit::None, PasswordLimit::None};
    NWDSContextHandle nextContext = 100;
    NWBufHandle nextBuffer = 200;

private:
    template <typename T> static std::string N(T value) { return std::to_string(value); }
    static std::string Null(void* p) { return p ? "ptr" : "null"; }
    void Record(std::string call) { calls.push_back(std::move(call)); }
    int Next(const std::string& op) {
        auto it = results.find(op);
        if (it == results.end() || it->second.empty())
            return 0;
        const int result = it->second.front();
        it->second.pop_front();
        return result;
    }

    std::vector<Entry> current;
    std::size_t readIndex = 0;
};
