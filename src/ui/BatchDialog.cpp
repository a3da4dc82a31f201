#include "ui/BatchDialog.h"

#include "conversion/StrToInt.h"
#include "ui/MessageBoxSeam.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
template <typename Widget> Widget* Named(Widget* widget, const char* name) {
    widget->setObjectName(QLatin1String(name));
    return widget;
}

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

// What a batch's preview shows: the count and the container, each user it touches, the missing names
// and the entries it leaves alone.
QString BatchPreviewText(const AccountBatch& batch) {
    const BatchPreview& preview = batch.Preview();
    QString text = QString::number(preview.targets.size()) + QStringLiteral(" users in ") +
                   Text(batch.range().container) + QStringLiteral(" will be ") +
                   QLatin1String(ActionPast(batch.action())) + QStringLiteral(":\n");
    for (const std::string& name : preview.targets)
        text += QStringLiteral("  ") + Text(name) + QLatin1Char('\n');
    if (!preview.missing.empty()) {
        text += QStringLiteral("Missing, skipped:\n");
        for (const std::string& name : preview.missing)
            text += QStringLiteral("  ") + Text(name) + QLatin1Char('\n');
    }
    if (!preview.skipped.empty()) {
        text += QStringLiteral("Left alone:\n");
        for (const BatchSkipped& skipped : preview.skipped)
            text += QStringLiteral("  ") + Text(skipped.name) + QStringLiteral(": ") + Text(skipped.reason) +
                    QLatin1Char('\n');
    }
    return text;
}
} // namespace

TfBatch::TfBatch(const QString& container, const BatchFields& fields, QWidget* parent)
    : QDialog(parent), container_(container) {
    setObjectName(QStringLiteral("fBatch"));
    setWindowTitle(QStringLiteral("Disable or remove users"));
    setModal(true);

    cbAction = Named(new QComboBox(this), "cbAction");
    cbAction->addItems({QStringLiteral("Disable"), QStringLiteral("Enable"), QStringLiteral("Remove")});
    ebPrefix = Named(new QLineEdit(fields.prefix, this), "ebPrefix");
    ebStart = Named(new QLineEdit(fields.start, this), "ebStart");
    ebCount = Named(new QLineEdit(fields.count, this), "ebCount");
    ebDigits = Named(new QLineEdit(fields.digits, this), "ebDigits");
    bbPreview = Named(new QPushButton(QStringLiteral("Pre&view"), this), "bbPreview");
    mePreview = Named(new QPlainTextEdit(this), "mePreview");
    mePreview->setReadOnly(true);
    mePreview->setAccessibleName(QStringLiteral("Preview"));
    ebConfirm = Named(new QLineEdit(this), "ebConfirm");
    lbConfirm = Named(new QLabel(QStringLiteral("&Type the number of users to confirm:"), this), "lbConfirm");
    lbConfirm->setBuddy(ebConfirm);
    bbRun = Named(new QPushButton(QStringLiteral("&Run"), this), "bbRun");
    bbCancel = Named(new QPushButton(QStringLiteral("Cancel"), this), "bbCancel");

    auto* form = new QFormLayout;
    form->addRow(new QLabel(QStringLiteral("Container: ") + container, this));
    form->addRow(QStringLiteral("&Action:"), cbAction);
    form->addRow(QStringLiteral("&Login name:"), ebPrefix);
    form->addRow(QStringLiteral("&Starting at index:"), ebStart);
    form->addRow(QStringLiteral("# of &users:"), ebCount);
    form->addRow(QStringLiteral("# of fixed &digits:"), ebDigits);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(bbRun);
    buttons->addWidget(bbCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(bbPreview);
    layout->addWidget(mePreview);
    layout->addWidget(lbConfirm);
    layout->addWidget(ebConfirm);
    layout->addLayout(buttons);

    connect(cbAction, &QComboBox::currentIndexChanged, this, &TfBatch::Invalidate);
    for (QLineEdit* field : {ebPrefix, ebStart, ebCount, ebDigits})
        connect(field, &QLineEdit::textChanged, this, &TfBatch::Invalidate);
    connect(ebConfirm, &QLineEdit::textChanged, this, &TfBatch::UpdateRun);
    connect(bbPreview, &QPushButton::clicked, this, &TfBatch::bbPreviewClick);
    connect(bbRun, &QPushButton::clicked, this, &QDialog::accept);
    connect(bbCancel, &QPushButton::clicked, this, &QDialog::reject);
    bbPreview->setDefault(true);
    UpdateRun();
}

TfBatch::~TfBatch() = default;

BatchAction TfBatch::Action() const {
    return static_cast<BatchAction>(cbAction->currentIndex());
}

void TfBatch::Invalidate() {
    batch_.reset();
    mePreview->clear();
    ebConfirm->clear();
    UpdateRun();
}

void TfBatch::UpdateRun() {
    const bool confirmed = batch_ && !batch_->Preview().targets.empty() &&
                           ebConfirm->text() == QString::number(batch_->Preview().targets.size());
    bbRun->setEnabled(confirmed);
    ebConfirm->setEnabled(batch_ && !batch_->Preview().targets.empty());
}

void TfBatch::bbPreviewClick() {
    Invalidate();
    BatchRange range;
    range.container = container_.toStdString();
    range.prefix = ebPrefix->text().toStdString();
    if (range.prefix.empty()) {
        ShowMessageBox(QStringLiteral("\"Login name\" must not be empty. Please verify this field and try again."));
        return;
    }
    if (!StrToIntStrict(ebStart->text().toStdString(), &range.start)) {
        ShowMessageBox(
            QStringLiteral("\"Starting at index\" must be a number. Please verify this field and try again."));
        return;
    }
    if (!StrToIntStrict(ebCount->text().toStdString(), &range.count) || range.count < 1 || range.count > 9999) {
        ShowMessageBox(QStringLiteral("\"# of users\" must be a number between 1 and 9999. Please verify this field "
                                      "and try again."));
        return;
    }
    if (!StrToIntStrict(ebDigits->text().toStdString(), &range.digits) || range.digits < 0 || range.digits > 9) {
        ShowMessageBox(QStringLiteral("\"# of fixed digits\" must be a number between 0 and 9. Please verify this "
                                      "field and try again."));
        return;
    }
    auto batch = std::make_unique<AccountBatch>(Action(), std::move(range));
    if (!batch->Read())
        return; // the directory's error has been shown
    mePreview->setPlainText(BatchPreviewText(*batch));
    batch_ = std::move(batch);
    UpdateRun();
    if (ebConfirm->isEnabled())
        ebConfirm->setFocus();
}

std::unique_ptr<AccountBatch> TfBatch::TakeBatch() {
    return result() == QDialog::Accepted ? std::move(batch_) : nullptr;
}
