#pragma once

#include <string>

// Creates one User named `objectName` (one literal name, relative to DirContext's name context)
// with `surname` as its "Surname". Reports the first failing step through CheckNDSError and
// returns false; true when the object has been created. A name that listings could not hand back
// (256 bytes or more once escaped) or a surname longer than 256 bytes is refused before any
// client call.
bool CreateUserObject(const std::string& objectName, const std::string& surname);
