#include "directory/CreateUserObject.h"

#include "client/BoundClient.h"
#include "client/DottedName.h"
#include "client/ResultCodes.h"
#include "client/SchemaNames.h"
#include "directory/CheckNDSError.h"
#include "directory/SharedContext.h"

#include <array>
#include <cstring>

namespace {
// A NUL-terminated copy of a text of at most kMaxValueLength characters, as the client expects.
using TextArea = std::array<char, kMaxValueLength + 1>;

TextArea ToArea(const std::string& text) {
    TextArea area{};
    std::memcpy(area.data(), text.data(), text.size());
    return area;
}

// The add's label: its own for a login name the directory refuses before anything is sent.
const char* AddLabel(NWDSCCODE code) {
    if (code == rc::kLoginNameNotValid)
        return "Login name not valid for this directory, user not created";
    if (code == rc::kPosixNotSupported)
        return "This directory cannot give users a Linux login (POSIX), user not created";
    return "Trying to create userobject with NWDSAddObject";
}
} // namespace

bool CreateUserObject(const std::string& objectName, const std::string& surname,
                      const std::optional<InitialPassword>& password, std::optional<std::int64_t> expiresAt,
                      const std::optional<PosixRequest>& posix) {
    // The typed name is one literal name: its ".", "\" and "=" must not split it into containers
    // or give it a type.
    const std::string literalName = EscapeNamePart(objectName);
    // Over-long input would not fit the client's areas (bytes of UTF-8 text): refuse it whole rather
    // than cut it short. A name is handed back by listings escaped, in an area of kEntryNameSize
    // bytes with its NUL: a user whose name could not be listed is not created.
    if (literalName.size() >= kEntryNameSize) {
        CheckNDSError(rc::kLoginNameTooLong, "Login name too long for the directory, user not created");
        return false;
    }
    if (surname.size() > kMaxValueLength) {
        CheckNDSError(rc::kSurnameTooLong, "Last name longer than 256 bytes, user not created");
        return false;
    }
    if (password && password->clearText.size() > kMaxValueLength) {
        CheckNDSError(rc::kPasswordTooLong, "Password longer than 256 bytes, user not created");
        return false;
    }

    DirectoryClient& client = Client();
    NWBufHandle buffer = 0;
    if (CheckNDSError(client.NWDSAllocBuf(kBufferSize, &buffer), "NWDSAllocBuf"))
        return false;

    const TextArea classAttr = ToArea(kObjectClassAttribute);
    const TextArea classValue = ToArea(kUserClass);
    const TextArea surnameAttr = ToArea(kSurnameAttribute);
    const TextArea surnameValue = ToArea(surname);
    const TextArea passwordAttr = ToArea(kPasswordAttribute);
    // The password goes to the client from its SecretText: no copy of it is made here.
    const char* passwordValue = password ? password->clearText.CString() : "";
    const TextArea mustChangeAttr = ToArea(kPasswordMustChangeAttribute);
    const TextArea trueValue = ToArea(kTrueValue);
    const TextArea expiryAttr = ToArea(kLoginExpirationTimeAttribute);
    const TextArea expiryValue = ToArea(expiresAt ? std::to_string(*expiresAt) : std::string());
    const TextArea uidAttr = ToArea(kUidNumberAttribute);
    const TextArea gidAttr = ToArea(kGidNumberAttribute);
    const TextArea homeAttr = ToArea(kHomeDirectoryAttribute);
    const TextArea shellAttr = ToArea(kLoginShellAttribute);
    const std::string gidValue = posix ? std::to_string(posix->gidNumber) : std::string();
    const auto put = [&](const TextArea& name, std::uint32_t syntax, const char* value) {
        return !CheckNDSError(client.NWDSPutAttrNameAndVal(DirContext, buffer, name.data(), syntax, value),
                              "NWDSPutAttrNameAndVal");
    };

    bool created = false;
    bool ready = !CheckNDSError(client.NWDSInitBuf(DirContext, kOperationAddEntry, buffer), "NWDSInitBuf") &&
                 put(classAttr, kSyntaxClassName, classValue.data()) &&
                 put(surnameAttr, kSyntaxCaseIgnoreString, surnameValue.data());
    // A password travels as one more attribute of the same add, the demand to change it as another.
    if (ready && password)
        ready = put(passwordAttr, kSyntaxOctetString, passwordValue) &&
                (!password->mustChange || put(mustChangeAttr, kSyntaxBoolean, trueValue.data()));
    if (ready && expiresAt)
        ready = put(expiryAttr, kSyntaxTime, expiryValue.data());
    if (ready && posix)
        ready = put(uidAttr, kSyntaxInteger, posix->uidNumber.c_str()) &&
                put(gidAttr, kSyntaxInteger, gidValue.c_str()) &&
                put(homeAttr, kSyntaxCaseIgnoreString, posix->homeDirectory.c_str()) &&
                put(shellAttr, kSyntaxCaseIgnoreString, posix->loginShell.c_str());
    if (ready) {
        std::int32_t iterationHandle = kNoMoreIterations;
        const NWDSCCODE added = client.NWDSAddObject(DirContext, literalName.c_str(), &iterationHandle, 0, buffer);
        created = !CheckNDSError(added, AddLabel(added));
    }
    client.FreeBuf(buffer);
    return created;
}
