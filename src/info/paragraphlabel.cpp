#include "paragraphlabel.h"

#include <QPainter>
#include <QRegularExpression>

namespace normativ {

namespace {
constexpr int kTextFlags = Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop;
}

ParagraphLabel::ParagraphLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {
    setWordWrap(true);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
}

QString ParagraphLabel::displayText() const {
    static const QRegularExpression longRun(QStringLiteral(" {20,}"));
    QString shown = text();
    shown.replace(longRun, QStringLiteral("\n\n"));
    return shown.trimmed();
}

int ParagraphLabel::heightForWidth(int width) const {
    return fontMetrics()
        .boundingRect(QRect(0, 0, width, 100000), kTextFlags, displayText())
        .height();
}

QSize ParagraphLabel::sizeHint() const {
    return {width(), heightForWidth(width())};
}

QSize ParagraphLabel::minimumSizeHint() const {
    return {100, heightForWidth(width())};
}

void ParagraphLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(contentsRect(), kTextFlags, displayText());
}

}  // namespace normativ
