#pragma once

#include "client/ClientTypes.h"

// Negative result codes of our own client layer, in the style of directory error codes.
// LDAP result codes (positive) and libldap's client codes (small negatives) pass through unchanged
// from the LDAP backend, except libldap's "server down" (-1), which would read as the end of a
// listing (kListExhausted): it is handed out as kServerDown. The codes below never collide with
// them.
namespace rc {
inline constexpr NWDSCCODE kSuccess = 0;
inline constexpr NWDSCCODE kBadContext = -303;           // unknown or released context handle
inline constexpr NWDSCCODE kBadBuffer = -304;            // unknown or released buffer handle
inline constexpr NWDSCCODE kBadKey = -305;               // unknown context setting
inline constexpr NWDSCCODE kBadArgument = -306;          // null pointer or size other than 4096
inline constexpr NWDSCCODE kNoMoreEntries = -307;        // result buffer read past its last entry
inline constexpr NWDSCCODE kBufferFull = -308;           // request buffer has no room for the attribute
inline constexpr NWDSCCODE kWrongOperation = -309;       // buffer not prepared for this operation
inline constexpr NWDSCCODE kEntryNameTooLong = -310;     // entry name does not fit the 256-byte area whole
inline constexpr NWDSCCODE kNoSuchEntry = -601;          // named container or object does not exist
inline constexpr NWDSCCODE kEntryAlreadyExists = -606;   // sibling of that name exists (letter case ignored)
inline constexpr NWDSCCODE kMissingMandatory = -609;     // "Object Class" or "Surname" missing
inline constexpr NWDSCCODE kIllegalName = -610;          // name not well formed (empty part, bad type, ...)
inline constexpr NWDSCCODE kIllegalContainment = -611;   // parent is not a container, or is the top
inline constexpr NWDSCCODE kAmbiguousName = -612;        // typeless name part that several children share
inline constexpr NWDSCCODE kSyntaxViolation = -613;      // attribute with the wrong syntax or class not "User"
inline constexpr NWDSCCODE kValueTooLong = -614;         // name or value longer than 256 bytes
inline constexpr NWDSCCODE kNotStarted = -620;           // client start step not done or failed
inline constexpr NWDSCCODE kStoreUnavailable = -630;     // store cannot be opened or created, or its folder is unsafe
inline constexpr NWDSCCODE kStoreBusy = -631;            // another program holds the store too long
inline constexpr NWDSCCODE kStoreFailure = -632;         // store error while reading or writing
inline constexpr NWDSCCODE kNoAccess = -672;             // identity may not change the directory ("[Public]")
inline constexpr NWDSCCODE kInsecureBind = -640;         // password bind refused on an unencrypted connection
inline constexpr NWDSCCODE kBadPasswordFile = -641;      // password file missing or readable by others
inline constexpr NWDSCCODE kPagingRunaway = -642;        // server kept sending pages: too many, or empty and repeated
inline constexpr NWDSCCODE kLoginNameNotValid = -643;    // login name the server cannot take (AD: > 20, " / \ [ ] ...)
inline constexpr NWDSCCODE kServerDown = -644;           // no server reachable, or the connection was lost
inline constexpr NWDSCCODE kNoKerberosTicket = -646;     // Kerberos bind without a valid ticket: run kinit
inline constexpr NWDSCCODE kUnverifiedServer = -645;     // StartTLS failed: the server's certificate did not verify
inline constexpr NWDSCCODE kPasswordNotSupported = -650; // this directory cannot set a password with the user
inline constexpr NWDSCCODE kMustChangeNotSupported = -651;  // it cannot ask for a change at first login
inline constexpr NWDSCCODE kPasswordNeedsEncryption = -652; // a password would travel over an unprotected connection
inline constexpr NWDSCCODE kPasswordAddInDoubt = -653;  // an add with a password lost its answer; no proof it was ours
inline constexpr NWDSCCODE kHasSubordinates = -680;     // entry holds entries of its own: not removed
inline constexpr NWDSCCODE kNotAUser = -681;            // entry is not a User of the class this directory makes
inline constexpr NWDSCCODE kLoginDisabled = -682;       // login refused: the account is disabled
inline constexpr NWDSCCODE kAccountExpired = -683;      // login refused: the account has expired
inline constexpr NWDSCCODE kWrongPassword = -684;       // login refused: no password, or another one
inline constexpr NWDSCCODE kExpiryNotSupported = -685;  // this directory cannot set an expiry with the user
inline constexpr NWDSCCODE kDisableNotSupported = -686; // no known way to disable a login on this server
inline constexpr NWDSCCODE kPosixNotSupported = -687;   // this directory cannot give a user a Linux login
inline constexpr NWDSCCODE kUidRangeFull = -669;        // the uidNumber range cannot hold the run's users
// Refusals of the directory layer itself, before any client call.
inline constexpr NWDSCCODE kLoginNameTooLong = -660; // user name of 256 bytes or more once escaped
inline constexpr NWDSCCODE kSurnameTooLong = -661;   // surname longer than 256 bytes
inline constexpr NWDSCCODE kPasswordTooLong = -662;  // password longer than 256 bytes
inline constexpr NWDSCCODE kLoginNameTaken = -668;   // another user in the directory logs in with that name
} // namespace rc
