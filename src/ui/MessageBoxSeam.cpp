#include "ui/MessageBoxSeam.h"

#include "ui/AppTitle.h"

#include <QGuiApplication>
#include <QMessageBox>
#include <QScreen>

#include <utility>

namespace {

MessageBoxHandler& Handler() {
    static MessageBoxHandler handler;
    return handler;
}

std::function<void()>& BeforeHook() {
    static std::function<void()> hook;
    return hook;
}

// The box's text as Qt shows it: CR LF, and a CR alone, become line breaks.
QString MessageBoxDisplayText(const QString& text) {
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return shown;
}

void ShowRealBox(const QString& text) {
    // No parent: the box centres itself on the screen rather than over the window.
    QMessageBox box(QMessageBox::NoIcon, ApplicationTitle(), MessageBoxDisplayText(text), QMessageBox::Ok);
    box.setTextFormat(Qt::PlainText);
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}

} // namespace

void ShowMessageBox(const QString& text) {
    if (BeforeHook())
        BeforeHook()();
    if (Handler())
        Handler()(text);
    else
        ShowRealBox(text);
}

MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler) {
    return std::exchange(Handler(), std::move(handler));
}

void SetBeforeMessageBoxHook(std::function<void()> hook) {
    BeforeHook() = std::move(hook);
}
