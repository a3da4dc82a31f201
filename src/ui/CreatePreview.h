#pragma once

#include "ui/PasswordChoice.h"

#include <QString>
#include <QStringList>

#include <optional>

// What a press of "Create User(s)" would do, as its tooltip and accessible description say it.
struct CreatePreviewInput {
    bool scanned = false;
    bool fieldsFilled = false;        // login name, last name and count hold text (the button's rule)
    std::optional<QString> container; // dotted name of the selected container; none without a selection
    QString loginName;
    QString lastName;
    QString count;
    QString index;
    QString digits;
    PasswordChoice passwords;
    QStringList takenNames; // login names of the run that other users already hold
    QString group;          // the group the users join; empty for none
    QString uidRange;       // "10000-60000" where the users get a Linux login; empty for none
};

// "Creates stud0001 ... stud0030 in Class 7b.School", with the passwords they get; or what stands
// in the way, checked in the order a press checks it (the number fields: count, index, digits;
// then a NUL in the login or last name). Names of the run already taken are named after it.
QString CreatePreviewText(const CreatePreviewInput& input);
