#include "NumberText.h"

#include <QLocale>

QString IndexText(qint32 index, qint32 digits) {
    return QString::number(index).rightJustified(digits, QLatin1Char('0'));
}

QString GeneralNumberText(double value) {
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale.toString(value, 'g', 15);
}
