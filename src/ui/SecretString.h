#pragma once

#include "passwords/SecretText.h"

#include <QString>

// A password typed or shown in the window, as the SecretText that holds it; the UTF-8 copy made on
// the way is wiped.
SecretText ToSecret(const QString& text);

// The password as Qt needs it for a moment (a line edit, a painter, a file): the caller drops it
// at once, with WipeString where it owns the only copy.
QString FromSecret(const SecretText& secret);

// Overwrites and empties `text`: its own memory when nothing else shares it.
void WipeString(QString* text);
