#pragma once

#include <QLocale>
#include <QString>
#include <functional>

class QLabel;
class QLineEdit;

namespace normativ {

/// What the hint under an answer box says while its text is not a number in `locale`:
/// that the answer will not count, and which separator the fractional part takes.
QString notANumberHint(const QLocale& locale);

/// Shows `hint` (a red label) while `box` holds text that `isNumber` refuses, and hides
/// it when the text is empty, a number, or the box is hidden.
void attachNumberHint(QLineEdit* box, QLabel* hint, const QLocale& locale,
                      std::function<bool(const QString&)> isNumber);

}  // namespace normativ
