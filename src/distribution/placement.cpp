#include "placement.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <algorithm>

namespace normativ::placement {

int labelHeight(QLabel* label, int width, const QStringList& texts) {
    const QString kept = label->text();
    const QStringList measured = texts.isEmpty() ? QStringList{kept} : texts;
    int height = 0;
    for (const QString& text : measured) {
        label->setText(text);
        const int needed =
            label->wordWrap() ? label->heightForWidth(width) : label->sizeHint().height();
        height = std::max(height, needed);
    }
    label->setText(kept);
    return height;
}

int buttonWidth(const QPushButton* button, const QStringList& captions, int minimum) {
    const QFontMetrics metrics = button->fontMetrics();
    int width = minimum;
    for (const QString& caption : captions) {
        QStyleOptionButton option;
        option.initFrom(button);
        option.text = caption;
        const QSize content(metrics.horizontalAdvance(caption), metrics.height());
        const QSize needed =
            button->style()->sizeFromContents(QStyle::CT_PushButton, &option, content, button);
        // A little air on each side, as a caption flush with the frame reads badly.
        width = std::max(width, needed.width() + 16);
    }
    return width;
}

void widenPopupToItems(QComboBox* combo) {
    const QFontMetrics metrics = combo->view()->fontMetrics();
    int widest = 0;
    for (int i = 0; i < combo->count(); ++i) {
        widest = std::max(widest, metrics.horizontalAdvance(combo->itemText(i)));
    }
    const int scrollBar = combo->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    combo->view()->setMinimumWidth(widest + scrollBar + 24);
}

}  // namespace normativ::placement
