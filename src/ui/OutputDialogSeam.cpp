#include "ui/OutputDialogSeam.h"

#include <QFileDialog>
#include <QPrintDialog>
#include <QPrinter>

namespace {
SaveFileNameHandler& SaveHandler() {
    static SaveFileNameHandler handler;
    return handler;
}

PrinterHandler& PrintHandler() {
    static PrinterHandler handler;
    return handler;
}
} // namespace

QString AskSaveFileName(QWidget* parent, const QString& title, const QString& suggested) {
    if (SaveHandler())
        return SaveHandler()(suggested);
    return QFileDialog::getSaveFileName(parent, title, suggested, QStringLiteral("CSV files (*.csv);;All files (*)"));
}

bool AskPrinter(QWidget* parent, const QString& title, QPrinter* printer) {
    if (PrintHandler())
        return PrintHandler()(printer);
    QPrintDialog dialog(printer, parent);
    dialog.setWindowTitle(title);
    return dialog.exec() == QDialog::Accepted;
}

void SetSaveFileNameHandler(SaveFileNameHandler handler) {
    SaveHandler() = std::move(handler);
}

void SetPrinterHandler(PrinterHandler handler) {
    PrintHandler() = std::move(handler);
}
