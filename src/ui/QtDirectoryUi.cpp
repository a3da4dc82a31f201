#include "ui/QtDirectoryUi.h"

#include "ui/MessageBoxSeam.h"

#include <QCoreApplication>
#include <QString>

void QtDirectoryUi::ShowMessage(const std::string& text) {
    ShowMessageBox(QString::fromStdString(text));
}

void QtDirectoryUi::ProcessPendingMessages() {
    QCoreApplication::processEvents();
}
