#pragma once

#include <QLocale>
#include <QString>

namespace normativ::estimates {

/// A figure written with a display pattern of `decimals` places (halves away from zero
/// on its 15-digit decimal form). A figure that is not finite - a division by a zero
/// pupil count or a zero shown rate - shows as 0 in the same pattern.
QString shown(double value, int decimals, const QLocale& locale);

/// Plain text of a figure (at most 15 significant digits); 0 when it is not finite.
QString shownPlain(double value, const QLocale& locale);

/// The number a shown text stands for, read by the locale; a text that is not a number
/// counts as 0.
double readShown(const QString& text, const QLocale& locale);

}  // namespace normativ::estimates
