#pragma once

// The windows are designed in twips for a small font. With the font in use a caption
// may need more room: these measures let a window grow a column, a row or a button
// from its designed size, never shrink it.

#include <QFontMetrics>
#include <QRect>
#include <QString>

namespace normativ::fitting {

/// Room around a one-line text inside a push button.
inline constexpr int kButtonPadding = 24;
/// Room around the text of a text box (frame and margins).
inline constexpr int kBoxPadding = 8;

/// Width of the widest word of a caption that wraps at blanks.
inline int widestWord(const QFontMetrics& fm, const QString& text) {
    int widest = 0;
    for (const QString& word : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        widest = std::max(widest, fm.horizontalAdvance(word));
    }
    return widest;
}

/// Height of a caption wrapped at blanks within `width`.
inline int wrappedHeight(const QFontMetrics& fm, int width, const QString& text) {
    return fm.boundingRect(QRect(0, 0, width, 100000), Qt::TextWordWrap | Qt::AlignHCenter, text)
        .height();
}

/// Height of a one-line text box for the font.
inline int boxHeight(const QFontMetrics& fm) {
    return fm.height() + kBoxPadding;
}

/// Signed twips to pixels (the frame of the payroll grid starts above the window).
constexpr int signedTwips(int t) {
    return t < 0 ? -((-t + 7) / 15) : (t + 7) / 15;
}

}  // namespace normativ::fitting
