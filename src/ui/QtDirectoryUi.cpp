#include "QtDirectoryUi.h"

#include "MessageBoxSeam.h"

#include <QCoreApplication>
#include <QString>

void QtDirectoryUi::ShowMessage(const std::string& text) {
    ShowMessageBox(QString::fromStdString(text));
}

void QtDirectoryUi::ProcessPendingMessages() {
    QCoreApplication::processEvents();
}
