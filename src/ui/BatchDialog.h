#pragma once

#include "directory/AccountBatch.h"

#include <QDialog>

#include <memory>

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// The fields a batch is named by, as the main window's fields hold them.
struct BatchFields {
    QString prefix;
    QString start;
    QString count;
    QString digits;
};

// The modal "Disable or remove users" dialog: the batch in the selected container, named as for a
// run, its preview with the count, and the confirmation, which asks for the number of users typed
// out before Run can be pressed. Any change to the batch asks for a new preview.
class TfBatch : public QDialog {
    Q_OBJECT
public:
    TfBatch(const QString& container, const BatchFields& fields, QWidget* parent = nullptr);
    ~TfBatch() override;

    // The previewed and confirmed batch once the dialog was accepted (the caller runs it); else null.
    std::unique_ptr<AccountBatch> TakeBatch();

    QComboBox* cbAction = nullptr;
    QLineEdit* ebPrefix = nullptr;
    QLineEdit* ebStart = nullptr;
    QLineEdit* ebCount = nullptr;
    QLineEdit* ebDigits = nullptr;
    QPushButton* bbPreview = nullptr;
    QPlainTextEdit* mePreview = nullptr;
    QLabel* lbConfirm = nullptr;
    QLineEdit* ebConfirm = nullptr;
    QPushButton* bbRun = nullptr;
    QPushButton* bbCancel = nullptr;

    void bbPreviewClick();

private:
    void Invalidate();
    void UpdateRun();
    BatchAction Action() const;

    QString container_;
    std::unique_ptr<AccountBatch> batch_;
};
