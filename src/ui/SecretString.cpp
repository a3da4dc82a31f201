#include "ui/SecretString.h"

#include <QByteArray>

SecretText ToSecret(const QString& text) {
    QByteArray utf8 = text.toUtf8();
    SecretText secret{std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size()))};
    WipeMemory(utf8.data(), static_cast<std::size_t>(utf8.size()));
    return secret;
}

QString FromSecret(const SecretText& secret) {
    return QString::fromUtf8(secret.View());
}

void WipeString(QString* text) {
    if (!text->isDetached())
        text->clear();
    else
        WipeMemory(text->data(), static_cast<std::size_t>(text->size()) * sizeof(QChar));
    text->clear();
}
