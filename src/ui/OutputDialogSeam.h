#pragma once

#include <QString>

#include <functional>

class QPrinter;
class QWidget;

// The dialogs that send the account list out of the program: the file dialog for the list and
// the print dialog for the slips. Tests install handlers that answer at once instead.

// The path to save to, as the user chose it in the file dialog; empty when cancelled.
QString AskSaveFileName(QWidget* parent, const QString& title, const QString& suggested);
// Lets the user set up `printer` in the print dialog (a printer, or a PDF file); false when cancelled.
bool AskPrinter(QWidget* parent, const QString& title, QPrinter* printer);

using SaveFileNameHandler = std::function<QString(const QString& suggested)>;
using PrinterHandler = std::function<bool(QPrinter* printer)>;
// Replace the real dialogs; empty handlers bring them back.
void SetSaveFileNameHandler(SaveFileNameHandler handler);
void SetPrinterHandler(PrinterHandler handler);
