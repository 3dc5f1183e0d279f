#pragma once

#include <QStringList>

class QLabel;
class QPushButton;
class QComboBox;

namespace normativ::placement {

/// Space kept between controls that had to be pushed apart because a text needs more
/// room than the designed position leaves.
inline constexpr int kGap = 6;

/// The height a label needs at `width` for the tallest of `texts` (its own text when
/// the list is empty), word wrap taken into account.
int labelHeight(QLabel* label, int width, const QStringList& texts = {});

/// The width a button needs for the widest of its captions, at least `minimum`.
int buttonWidth(const QPushButton* button, const QStringList& captions, int minimum);

/// Lets the drop-down list of a choice box be as wide as its longest item, so that the
/// whole text can be read before it is chosen.
void widenPopupToItems(QComboBox* combo);

}  // namespace normativ::placement
