#include "ui/NumberText.h"

#include "conversion/StrToInt.h"

#include <QLocale>

QString GeneralNumberText(double value) {
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale.toString(value, 'g', 15);
}

bool StrToIntStrict(const QString& text, qint32* value) {
    // Characters beyond Latin-1 are never part of a number; they become '?' and fail the parse.
    const QByteArray latin1 = text.toLatin1();
    std::int32_t parsed = 0;
    if (!StrToIntStrict(std::string_view(latin1.constData(), static_cast<std::size_t>(latin1.size())), &parsed))
        return false;
    *value = parsed;
    return true;
}
