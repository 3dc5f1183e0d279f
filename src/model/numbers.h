#pragma once

#include <QLocale>
#include <QString>
#include <optional>

namespace normativ {

/// The value stored for a numeric answer that was left empty or was not a number.
inline constexpr double kNotEnteredMarker = 79265830346.0;

/// The numeric test of the answer box: true when the text, with surrounding blanks
/// ignored, is a finite number written in the given locale (optional sign, digits,
/// the locale's decimal and group separators, an exponent). Empty text, "inf" and
/// "nan" are not numbers.
bool isNumericText(const QString& text, const QLocale& locale);

/// The number a text stands for in the given locale, or nothing when it fails the
/// numeric test.
std::optional<double> parseNumber(const QString& text, const QLocale& locale);

/// A display pattern with a fixed number of decimals ("0", "0.00", "0.000"): the value
/// is first taken to 15 significant digits, as a spreadsheet shows it, and that
/// decimal is rounded half away from zero. Locale decimal separator, no group
/// separators, a minus sign for negatives (never "-0").
QString formatFixed(double value, int decimals, const QLocale& locale);

/// Plain text of a double: at most 15 significant digits, no trailing zeros, the
/// locale's decimal separator, no exponent.
QString plainText(double value, const QLocale& locale);

/// Plain text of a single-precision value: at most 7 significant digits, otherwise as
/// plainText.
QString plainTextSingle(float value, const QLocale& locale);

/// Rounds a decimal digit string (sign, digits, optional '.', digits; as produced by
/// std::to_chars in fixed notation) to `decimals` places, halves away from zero, and
/// returns it with '.' as separator. Exposed for the currency type.
std::string roundDecimalString(const std::string& fixed, int decimals);

/// Writes a '.'-separated decimal text with the locale's separator and minus sign.
QString localizeDecimal(const std::string& fixed, const QLocale& locale);

}  // namespace normativ
