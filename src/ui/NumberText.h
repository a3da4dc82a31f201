#pragma once

#include <QString>

// A user's running index as it goes into the name: decimal, "-" for a negative one, with "0"
// in front (also in front of the "-") up to `digits` characters. Longer texts stay as they are.
QString IndexText(qint32 index, qint32 digits);

// The version in general number format: shortest decimal of at most 15 significant digits, with
// the decimal separator of the user's locale.
QString GeneralNumberText(double value);
