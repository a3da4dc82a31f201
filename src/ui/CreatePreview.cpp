#include "ui/CreatePreview.h"

#include "conversion/IndexText.h"
#include "directory/CreationRun.h"
#include "ui/NumberText.h"

namespace {
QString PasswordsText(const PasswordChoice& passwords) {
    QString text;
    switch (passwords.mode) {
    case PasswordChoice::Mode::None:
        return text;
    case PasswordChoice::Mode::One:
        text = QStringLiteral(", all with the same password");
        break;
    case PasswordChoice::Mode::Random:
        text = QStringLiteral(", each with a random password of %1 characters").arg(passwords.length);
        break;
    }
    if (passwords.mustChange)
        text += QStringLiteral(" to change at first login");
    return text;
}

QString GroupText(const QString& group) {
    return group.isEmpty() ? QString() : QStringLiteral(", joining the group ") + group;
}

QString UidRangeText(const QString& range) {
    return range.isEmpty() ? QString() : QStringLiteral(", with Linux logins (UIDs ") + range + QStringLiteral(")");
}

// A warning of the run's login names that other users hold: the first few and how many in all.
QString TakenText(const QStringList& taken) {
    if (taken.isEmpty())
        return {};
    constexpr qsizetype kNamed = 3;
    QString text = QStringLiteral(". Login names already used in the directory: ") + taken.mid(0, kNamed).join(u", ");
    if (taken.size() > kNamed)
        text += QStringLiteral(" and %1 more").arg(taken.size() - kNamed);
    return text;
}
} // namespace

QString CreatePreviewText(const CreatePreviewInput& input) {
    if (!input.scanned)
        return QStringLiteral("Press F4 to scan the directory first.");
    if (!input.fieldsFilled)
        return QStringLiteral("Fill in the login name, the last name and the number of users to create.");
    if (!input.container)
        return QStringLiteral("Select the container to create the users in.");
    qint32 count = 0;
    if (!StrToIntStrict(input.count, &count) || count < 0 || count > 9999)
        return QStringLiteral("\"# of users to create\" must be a number between 0 and 9999.");
    qint32 index = 0;
    if (!StrToIntStrict(input.index, &index))
        return QStringLiteral("\"Starting at index\" must be a number.");
    qint32 digits = 0;
    if (!StrToIntStrict(input.digits, &digits))
        return QStringLiteral("\"# of fixed digits\" must be a number between 0 and 9.");
    if (const auto nul = NulFieldText(input.loginName.toStdString(), input.lastName.toStdString()))
        return QString::fromStdString(*nul);

    const QString in = QStringLiteral(" in ") + *input.container;
    if (count == 0)
        return QStringLiteral("Creates no users") + in;
    const QString first = input.loginName + QString::fromStdString(IndexText(index, digits));
    if (count == 1)
        return QStringLiteral("Creates ") + first + in + PasswordsText(input.passwords) + GroupText(input.group) +
               UidRangeText(input.uidRange) + TakenText(input.takenNames);
    // The index wraps as the run's does.
    const auto lastIndex = static_cast<qint32>(static_cast<quint32>(index) + static_cast<quint32>(count - 1));
    const QString last = input.loginName + QString::fromStdString(IndexText(lastIndex, digits));
    return QStringLiteral("Creates ") + first + QStringLiteral(" ... ") + last + in + PasswordsText(input.passwords) +
           GroupText(input.group) + UidRangeText(input.uidRange) + TakenText(input.takenNames);
}
