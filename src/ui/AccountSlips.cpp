#include "ui/AccountSlips.h"

#include "ui/PrivateFile.h"
#include "ui/SecretString.h"

#include <QFontDatabase>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>

#include <algorithm>
#include <array>

namespace {
constexpr int kLines = 3;

struct SlipLine {
    QString label;
    QString value;
    bool fixedPitch; // the password: every character as wide as the next, easy to copy out
};

// The slip's lines, each label in its column and the value wrapped to the width left.
class SlipLayout {
public:
    SlipLayout(QPainter& painter, int width) : painter_(painter), width_(width) {
        text_ = painter.font();
        text_.setPointSizeF(11);
        fixed_ = QFontDatabase::systemFont(QFontDatabase::FixedFont);
        fixed_.setPointSizeF(12);
        painter.setFont(text_);
        const QFontMetrics metrics = painter.fontMetrics();
        labelWidth_ = metrics.horizontalAdvance(QStringLiteral("Login name:")) + metrics.averageCharWidth() * 3;
        padding_ = metrics.height();
    }

    // Height the slip needs, padding and cut line included.
    int Height(const std::array<SlipLine, kLines>& lines) {
        int height = 2 * padding_;
        for (const SlipLine& line : lines)
            height += LineHeight(line);
        return height;
    }

    // Draws the slip with its top at `top`, and the cut line below it.
    void Draw(const std::array<SlipLine, kLines>& lines, int top) {
        int y = top + padding_;
        for (const SlipLine& line : lines) {
            painter_.setFont(text_);
            painter_.drawText(QRect(0, y, labelWidth_, LineHeight(line)), Qt::AlignLeft | Qt::AlignTop, line.label);
            painter_.setFont(line.fixedPitch ? fixed_ : text_);
            painter_.drawText(ValueRect(y), kValueFlags, line.value);
            y += LineHeight(line);
        }
        QPen pen(Qt::DashLine);
        painter_.setPen(pen);
        painter_.drawLine(0, top + Height(lines) - 1, width_, top + Height(lines) - 1);
        painter_.setPen(QPen());
    }

private:
    static constexpr int kValueFlags = Qt::AlignLeft | Qt::AlignTop | Qt::TextWrapAnywhere;

    QRect ValueRect(int y) const { return QRect(labelWidth_, y, width_ - labelWidth_, 1 << 20); }

    int LineHeight(const SlipLine& line) {
        painter_.setFont(line.fixedPitch ? fixed_ : text_);
        const int height = painter_.boundingRect(ValueRect(0), kValueFlags, line.value).height();
        painter_.setFont(text_);
        return std::max(height, painter_.fontMetrics().height()) + painter_.fontMetrics().leading();
    }

    QPainter& painter_;
    int width_;
    QFont text_;
    QFont fixed_;
    int labelWidth_ = 0;
    int padding_ = 0;
};
} // namespace

bool PrintAccountSlips(QPagedPaintDevice& device, const std::vector<CreatedAccount>& accounts) {
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    const int width = painter.viewport().width();
    const int pageHeight = painter.viewport().height();
    SlipLayout layout(painter, width);
    int top = 0;
    for (const CreatedAccount& account : accounts) {
        std::array<SlipLine, kLines> lines{{
            {QStringLiteral("Login name:"), account.loginName, false},
            {QStringLiteral("Password:"),
             account.password.empty() ? QStringLiteral("(none)") : FromSecret(account.password),
             !account.password.empty()},
            {QStringLiteral("Container:"), account.container, false},
        }};
        const int height = layout.Height(lines);
        // A slip never runs over a page break, unless it is taller than a page by itself.
        if (top > 0 && top + height > pageHeight) {
            if (!device.newPage())
                return false;
            top = 0;
        }
        layout.Draw(lines, top);
        WipeString(&lines[1].value);
        top += height;
    }
    return painter.end();
}

bool PrintAccountSlips(QPrinter& printer, const std::vector<CreatedAccount>& accounts) {
    if (printer.outputFormat() != QPrinter::PdfFormat || printer.outputFileName().isEmpty())
        return PrintAccountSlips(static_cast<QPagedPaintDevice&>(printer), accounts);
    QString error;
    return WritePrivateFile(
        printer.outputFileName(),
        [&](QIODevice& file) {
            QPdfWriter pdf(&file);
            pdf.setTitle(printer.docName());
            pdf.setCreator(printer.creator());
            pdf.setResolution(printer.resolution());
            pdf.setPageLayout(printer.pageLayout());
            return PrintAccountSlips(static_cast<QPagedPaintDevice&>(pdf), accounts);
        },
        &error);
}
