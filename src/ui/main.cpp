#include "client/BoundClient.h"
#include "client/ClientFactory.h"
#include "client/ProcessHeap.h"
#include "ui/AppTitle.h"
#include "ui/uMain.h"

#include <QApplication>

#include <memory>

int main(int argc, char* argv[]) {
    UseOneHeapForAllThreads();
    QApplication application(argc, argv);
    // The application title names the program and titles every message box. It is not set as Qt's
    // display name, which Qt would append to the window caption.
    QApplication::setApplicationName(ApplicationTitle());
    // Ties the window to its menu entry, quillbarrow.desktop (its icon, its name in the task bar).
    QGuiApplication::setDesktopFileName(QStringLiteral("quillbarrow"));
    BindClient(MakeClient());
    const auto form = std::make_unique<TfMain>();
    form->show();
    return QApplication::exec();
}
