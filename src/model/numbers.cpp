#include "numbers.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string>

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

}  // namespace

std::optional<double> parseNumber(const QString& text, const QLocale& locale) {
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
    QString out;
    out.reserve(static_cast<int>(fixed.size()));
    for (char c : fixed) {
        if (c == '.')
            out += locale.decimalPoint();
        else if (c == '-')
            out += locale.negativeSign();
        else
            out += QLatin1Char(c);
    }
    return out;
}

QString formatFixed(double value, int decimals, const QLocale& locale) {
    if (!std::isfinite(value)) return QString();
    if (value == 0.0) value = 0.0;  // no "-0"
    const std::string fixed = toFixedString(decimalForm(value, 15));
    return localizeDecimal(roundDecimalString(fixed, decimals), locale);
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
