#include "shownnumbers.h"

#include "numbers.h"

#include <cmath>

namespace normativ::estimates {

QString shown(double value, int decimals, const QLocale& locale) {
    return formatFixed(std::isfinite(value) ? value : 0.0, decimals, locale);
}

QString shownPlain(double value, const QLocale& locale) {
    return plainText(std::isfinite(value) ? value : 0.0, locale);
}

double readShown(const QString& text, const QLocale& locale) {
    return parseNumber(text, locale).value_or(0.0);
}

}  // namespace normativ::estimates
