#pragma once

#include "ui/CreatePreview.h"

#include <QObject>
#include <QString>
#include <QStringList>

class QTimer;

// The run's login names that other users hold, for the Create button's preview. The directory is
// asked once the fields have rested for a moment (one search for the whole run), not on every
// key; Found() tells that an answer came.
class TakenNamesPreview : public QObject {
    Q_OBJECT
public:
    explicit TakenNamesPreview(QObject* parent);

    // The taken names of the run `input` describes, when already asked for; otherwise none, and
    // the directory is asked shortly. Nothing is asked for input that makes no run.
    QStringList For(const CreatePreviewInput& input);

signals:
    void Found();

private:
    void Search();

    QTimer* timer_ = nullptr;
    QString container_;
    QString prefix_;
    qint32 index_ = 0;
    qint32 digits_ = 0;
    qint32 count_ = 0;
    QString askedKey_; // the run whose names are being or were asked for
    QString answeredKey_;
    QStringList taken_;
};
