#include "ui/TakenNamesPreview.h"

#include "directory/CreationRun.h"
#include "directory/LoginNameCheck.h"
#include "ui/NumberText.h"

#include <QTimer>

namespace {
// How long the fields rest before the directory is asked.
constexpr int kRestMs = 400;
} // namespace

TakenNamesPreview::TakenNamesPreview(QObject* parent) : QObject(parent), timer_(new QTimer(this)) {
    timer_->setSingleShot(true);
    timer_->setInterval(kRestMs);
    connect(timer_, &QTimer::timeout, this, &TakenNamesPreview::Search);
}

QStringList TakenNamesPreview::For(const CreatePreviewInput& input) {
    qint32 count = 0;
    qint32 index = 0;
    qint32 digits = 0;
    if (!input.scanned || !input.fieldsFilled || !input.container || !StrToIntStrict(input.count, &count) ||
        count <= 0 || count > 9999 || !StrToIntStrict(input.index, &index) || !StrToIntStrict(input.digits, &digits) ||
        NulFieldText(input.loginName.toStdString(), input.lastName.toStdString())) {
        timer_->stop();
        return {};
    }
    const QString key =
        QStringList{*input.container, input.loginName, input.count, input.index, input.digits}.join(QChar(u'\0'));
    if (key == answeredKey_)
        return taken_;
    if (key != askedKey_) {
        askedKey_ = key;
        container_ = *input.container;
        prefix_ = input.loginName;
        index_ = index;
        digits_ = digits;
        count_ = count;
        timer_->start();
    }
    return {};
}

void TakenNamesPreview::Search() {
    const auto taken =
        TakenLoginNames(container_.toStdString(), RunLoginNames(prefix_.toStdString(), index_, digits_, count_));
    taken_.clear();
    for (const std::string& name : taken.value_or(std::vector<std::string>{}))
        taken_.push_back(QString::fromStdString(name));
    answeredKey_ = askedKey_;
    emit Found();
}
