#include "numbers.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string>
#include <string_view>

namespace normativ {

namespace {

/// Decimal digits and exponent of a double at `significant` digits:
/// value = 0.d1d2d3... × 10^(exponent+1), digits without a sign.
struct DecimalForm {
    bool negative = false;
    std::string digits;  // exactly `significant` digits
    int exponent = 0;    // power of ten of the first digit
};

DecimalForm decimalForm(double value, int significant) {
    char buf[64];
    auto res =
        std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific, significant - 1);
    std::string s(buf, res.ptr);
    DecimalForm form;
    std::size_t pos = 0;
    if (s[0] == '-') {
        form.negative = true;
        pos = 1;
    }
    const std::size_t e = s.find('e');
    for (std::size_t i = pos; i < e; ++i) {
        if (s[i] != '.') form.digits.push_back(s[i]);
    }
    form.exponent = std::atoi(s.c_str() + e + 1);
    return form;
}

/// Fixed-notation text of a decimal form ("-123.450"), all its digits kept.
std::string toFixedString(const DecimalForm& form) {
    std::string intPart;
    std::string fracPart;
    const int n = static_cast<int>(form.digits.size());
    if (form.exponent >= 0) {
        for (int i = 0; i <= form.exponent; ++i) intPart.push_back(i < n ? form.digits[i] : '0');
        for (int i = form.exponent + 1; i < n; ++i) fracPart.push_back(form.digits[i]);
    } else {
        intPart = "0";
        fracPart.assign(static_cast<std::size_t>(-form.exponent - 1), '0');
        fracPart += form.digits;
    }
    std::string out = form.negative ? "-" : "";
    out += intPart;
    if (!fracPart.empty()) out += "." + fracPart;
    return out;
}

bool isAllZeroDigits(const std::string& s) {
    for (char c : s) {
        if (c >= '1' && c <= '9') return false;
    }
    return true;
}

// The decimal separator and minus sign of the locale last used by this thread, looked up
// once: asking a locale for them builds strings, and every figure read or shown needs them.
struct DecimalSymbols {
    QLocale locale;
    QString point;
    QString minus;
    // The separator when the locale's numbers are plain ASCII decimals; 0 otherwise.
    char16_t plainPoint = 0;
};

const DecimalSymbols& decimalSymbols(const QLocale& locale) {
    thread_local DecimalSymbols symbols{QLocale::c(), {}, {}, 0};
    thread_local bool looked = false;
    if (!looked || symbols.locale != locale) {
        const QString point = locale.decimalPoint();
        const QString minus = locale.negativeSign();
        const bool plain = point.size() == 1 && point[0] != u'-' && !point[0].isDigit() &&
                           minus == QLatin1String("-") &&
                           locale.zeroDigit() == QLatin1String("0") &&
                           !(locale.numberOptions() & QLocale::RejectTrailingZeroesAfterDot);
        symbols = {locale, point, minus, plain ? point[0].unicode() : char16_t(0)};
        looked = true;
    }
    return symbols;
}

// A plain decimal as the answer boxes and the estimates mostly hold: an optional minus,
// digits without a leading zero, and the locale's decimal separator with digits. Read
// directly it has the value QLocale gives it (both round correctly) at a fraction of
// the cost; nothing for any other text, which QLocale then reads.
std::optional<double> plainDecimal(QStringView text, const QLocale& locale) {
    constexpr qsizetype kMaxLength = 40;
    if (text.isEmpty() || text.size() > kMaxLength) return std::nullopt;
    const char16_t point = decimalSymbols(locale).plainPoint;
    if (point == 0) return std::nullopt;
    char ascii[kMaxLength];
    qsizetype i = 0;
    if (text[0] == u'-') ascii[i++] = '-';
    const qsizetype firstDigit = i;
    qsizetype pointAt = -1;
    for (; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c >= u'0' && c <= u'9') {
            ascii[i] = static_cast<char>(c);
        } else if (c == point && pointAt < 0) {
            pointAt = i;
            ascii[i] = '.';
        } else {
            return std::nullopt;
        }
    }
    const qsizetype intEnd = pointAt < 0 ? text.size() : pointAt;
    const bool intOk =
        intEnd > firstDigit && (ascii[firstDigit] != '0' || intEnd == firstDigit + 1);
    if (!intOk || (pointAt >= 0 && pointAt == text.size() - 1)) return std::nullopt;
    double value = 0;
    const auto [end, ec] = std::from_chars(ascii, ascii + text.size(), value);
    if (ec != std::errc() || end != ascii + text.size() || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

// `fixed` with the locale's decimal separator and minus sign.
QString localized(std::string_view fixed, const QLocale& locale) {
    const DecimalSymbols& symbols = decimalSymbols(locale);
    if (symbols.point.size() == 1 && symbols.minus.size() == 1) {
        QString out(static_cast<qsizetype>(fixed.size()), Qt::Uninitialized);
        QChar* to = out.data();
        for (char c : fixed) {
            *to++ = c == '.' ? symbols.point[0] : c == '-' ? symbols.minus[0] : QLatin1Char(c);
        }
        return out;
    }
    QString out;
    out.reserve(static_cast<qsizetype>(fixed.size()));
    for (char c : fixed) {
        if (c == '.')
            out += symbols.point;
        else if (c == '-')
            out += symbols.minus;
        else
            out += QLatin1Char(c);
    }
    return out;
}

}  // namespace

std::optional<double> parseNumber(const QString& text, const QLocale& locale) {
    if (const auto plain = plainDecimal(QStringView(text).trimmed(), locale)) return plain;
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty()) return std::nullopt;
    // QLocale accepts "inf" and "nan"; an answer must be a finite written number.
    for (QChar c : trimmed) {
        if (c.isLetter() && c != QLatin1Char('e') && c != QLatin1Char('E')) return std::nullopt;
    }
    bool ok = false;
    const double value = locale.toDouble(trimmed, &ok);
    if (!ok || !std::isfinite(value)) return std::nullopt;
    return value;
}

bool isNumericText(const QString& text, const QLocale& locale) {
    return parseNumber(text, locale).has_value();
}

std::string roundDecimalString(const std::string& fixed, int decimals) {
    bool negative = !fixed.empty() && fixed[0] == '-';
    std::string body = negative ? fixed.substr(1) : fixed;
    const std::size_t dot = body.find('.');
    std::string intPart = dot == std::string::npos ? body : body.substr(0, dot);
    std::string fracPart = dot == std::string::npos ? std::string() : body.substr(dot + 1);
    if (intPart.empty()) intPart.assign(1, '0');
    if (static_cast<int>(fracPart.size()) < decimals)
        fracPart.append(decimals - fracPart.size(), '0');
    const bool roundUp = static_cast<int>(fracPart.size()) > decimals && fracPart[decimals] >= '5';
    std::string digits = intPart + fracPart.substr(0, decimals);
    if (roundUp) {
        int i = static_cast<int>(digits.size()) - 1;
        while (i >= 0) {
            if (digits[i] == '9') {
                digits[i] = '0';
                --i;
            } else {
                ++digits[i];
                break;
            }
        }
        if (i < 0) digits.insert(digits.begin(), '1');
    }
    const std::size_t intLen = digits.size() - decimals;
    std::string out = digits.substr(0, intLen);
    // Drop leading zeros of the integer part, keeping one.
    std::size_t nz = out.find_first_not_of('0');
    if (nz == std::string::npos)
        out.assign(1, '0');
    else
        out.erase(0, nz);
    if (decimals > 0) {
        out.push_back('.');
        out.append(digits, intLen, std::string::npos);
    }
    if (negative && !isAllZeroDigits(digits)) out.insert(out.begin(), '-');
    return out;
}

QString localizeDecimal(const std::string& fixed, const QLocale& locale) {
    return localized(fixed, locale);
}

QString formatFixed(double value, int decimals, const QLocale& locale) {
    if (!std::isfinite(value)) return QString();
    if (value == 0.0) value = 0.0;  // no "-0"
    if (decimals < 0 || decimals > 30) {
        return localized(roundDecimalString(toFixedString(decimalForm(value, 15)), decimals),
                         locale);
    }
    // The decimal form at 15 significant digits, "d.dddddddddddddde±x", laid out as the
    // digits of the whole part and the fraction, then rounded there half away from zero;
    // all in place, as this runs for every figure the estimates show.
    char scientific[32];
    const auto written = std::to_chars(scientific, scientific + sizeof scientific, value,
                                       std::chars_format::scientific, 14);
    const bool negative = scientific[0] == '-';
    const char* mantissa = scientific + (negative ? 1 : 0);
    char significant[15];
    significant[0] = mantissa[0];
    std::copy(mantissa + 2, mantissa + 16, significant + 1);
    int exponent = 0;
    std::from_chars(mantissa[17] == '+' ? mantissa + 18 : mantissa + 17, written.ptr, exponent);

    // Room for 309 whole digits or 324 leading fraction zeros, the digits and a carry.
    char digits[400];
    int count = 0;
    int wholeDigits = 0;
    if (exponent >= 0) {
        for (int i = 0; i <= exponent; ++i) digits[count++] = i < 15 ? significant[i] : '0';
        wholeDigits = count;
        for (int i = exponent + 1; i < 15; ++i) digits[count++] = significant[i];
    } else {
        digits[count++] = '0';
        wholeDigits = 1;
        for (int i = 0; i < -exponent - 1; ++i) digits[count++] = '0';
        for (int i = 0; i < 15; ++i) digits[count++] = significant[i];
    }
    while (count - wholeDigits < decimals) digits[count++] = '0';
    const bool roundUp = count - wholeDigits > decimals && digits[wholeDigits + decimals] >= '5';
    count = wholeDigits + decimals;
    if (roundUp) {
        int i = count - 1;
        for (; i >= 0 && digits[i] == '9'; --i) digits[i] = '0';
        if (i >= 0) {
            ++digits[i];
        } else {
            std::copy_backward(digits, digits + count, digits + count + 1);
            digits[0] = '1';
            ++wholeDigits;
            ++count;
        }
    }
    const bool allZero = std::all_of(digits, digits + count, [](char c) { return c == '0'; });
    int first = 0;
    while (first < wholeDigits - 1 && digits[first] == '0') ++first;

    char text[404];
    int length = 0;
    if (negative && !allZero) text[length++] = '-';
    for (int i = first; i < wholeDigits; ++i) text[length++] = digits[i];
    if (decimals > 0) {
        text[length++] = '.';
        for (int i = wholeDigits; i < count; ++i) text[length++] = digits[i];
    }
    return localized(std::string_view(text, static_cast<std::size_t>(length)), locale);
}

namespace {

QString plainTextAt(double value, int significant, const QLocale& locale) {
    if (!std::isfinite(value)) return QString();
    if (value == 0.0) return QStringLiteral("0");
    std::string fixed = toFixedString(decimalForm(value, significant));
    if (fixed.find('.') != std::string::npos) {
        while (fixed.back() == '0') fixed.pop_back();
        if (fixed.back() == '.') fixed.pop_back();
    }
    return localizeDecimal(fixed, locale);
}

}  // namespace

QString plainText(double value, const QLocale& locale) {
    return plainTextAt(value, 15, locale);
}

QString plainTextSingle(float value, const QLocale& locale) {
    return plainTextAt(static_cast<double>(value), 7, locale);
}

}  // namespace normativ
