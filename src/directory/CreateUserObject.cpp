#include "CreateUserObject.h"

#include "BoundClient.h"
#include "CheckNDSError.h"
#include "DottedName.h"
#include "ResultCodes.h"
#include "SchemaNames.h"
#include "SharedContext.h"

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
} // namespace

bool CreateUserObject(const std::string& objectName, const std::string& surname) {
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

    DirectoryClient& client = Client();
    NWBufHandle buffer = 0;
    if (CheckNDSError(client.NWDSAllocBuf(kBufferSize, &buffer), "NWDSAllocBuf"))
        return false;

    const TextArea classAttr = ToArea(kObjectClassAttribute);
    const TextArea classValue = ToArea(kUserClass);
    const TextArea surnameAttr = ToArea(kSurnameAttribute);
    const TextArea surnameValue = ToArea(surname);

    bool created = false;
    if (!CheckNDSError(client.NWDSInitBuf(DirContext, kOperationAddEntry, buffer), "NWDSInitBuf") &&
        !CheckNDSError(
            client.NWDSPutAttrNameAndVal(DirContext, buffer, classAttr.data(), kSyntaxClassName, classValue.data()),
            "NWDSPutAttrNameAndVal") &&
        !CheckNDSError(client.NWDSPutAttrNameAndVal(DirContext, buffer, surnameAttr.data(), kSyntaxCaseIgnoreString,
                                                    surnameValue.data()),
                       "NWDSPutAttrNameAndVal")) {
        std::int32_t iterationHandle = kNoMoreIterations;
        created = !CheckNDSError(client.NWDSAddObject(DirContext, literalName.c_str(), &iterationHandle, 0, buffer),
                                 "Trying to create userobject with NWDSAddObject");
    }
    client.FreeBuf(buffer);
    return created;
}
