#pragma once

#include "passwords/SecretText.h"

#include <QString>

#include <optional>

// One user a creation run made, as the account list and the slips show it.
struct CreatedAccount {
    QString loginName;
    QString lastName;
    QString container;     // dotted container name, as the run named it
    QString directoryName; // LDAP DN, or the embedded directory's dotted name; asked for when the list is saved
    SecretText password;   // UTF-8; empty when none was set
    std::optional<bool> inGroup = std::nullopt; // whether it joined the run's group; none when the run had no group
};
