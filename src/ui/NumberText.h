#pragma once

#include <QString>

// Numbers as the window shows and reads them.

// The version in general number format: shortest decimal of at most 15 significant digits, with
// the decimal separator of the user's locale.
QString GeneralNumberText(double value);

// A number field's text through the runtime's conversion (StrToIntStrict); false when it is not
// a number. Characters beyond Latin-1 are never part of one.
bool StrToIntStrict(const QString& text, qint32* value);
