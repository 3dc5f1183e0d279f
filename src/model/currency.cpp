#include "currency.h"

#include "numbers.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace normativ {

namespace {

__extension__ typedef __int128 Int128;

constexpr Int128 kMin = std::numeric_limits<std::int64_t>::min();
constexpr Int128 kMax = std::numeric_limits<std::int64_t>::max();

std::optional<Currency> checked(Int128 v) {
    if (v < kMin || v > kMax) return std::nullopt;
    return Currency::fromRaw(static_cast<std::int64_t>(v));
}

/// n / d rounded to nearest, halves to even (d > 0).
Int128 divideHalfEven(Int128 n, Int128 d) {
    Int128 q = n / d;
    Int128 r = n % d;
    if (r < 0) {
        r += d;
        q -= 1;
    }
    const Int128 twice = 2 * r;
    if (twice > d || (twice == d && (q & 1) != 0)) q += 1;
    return q;
}

}  // namespace

std::optional<Currency> Currency::fromDouble(double value) {
    // The value is scaled in double precision, as the amount a user sees, and the scaled
    // value rounded to the nearest whole, halves to even (the default rounding mode).
    const double scaled = std::nearbyint(value * static_cast<double>(kScale));
    if (!std::isfinite(scaled) || scaled < -9223372036854775808.0 ||
        scaled >= 9223372036854775808.0)
        return std::nullopt;
    return fromRaw(static_cast<std::int64_t>(scaled));
}

std::optional<Currency> Currency::fromTypedNumber(double value) {
    if (!std::isfinite(value)) return std::nullopt;
    // Shortest scientific form: [-]d[.ddd]e±xx, at most 17 digits.
    char buffer[64];
    const auto end =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific).ptr;
    const char* p = buffer;
    const bool negative = *p == '-';
    if (negative) ++p;
    Int128 digits = 0;
    int count = 0;
    for (; p != end && *p != 'e'; ++p) {
        if (*p == '.') continue;
        digits = digits * 10 + (*p - '0');
        ++count;
    }
    int exponent = 0;
    if (p != end) std::from_chars(p + 1 + (p[1] == '+'), end, exponent);
    // value = digits × 10^(exponent − count + 1); in ten-thousandths the power grows by 4.
    const int power = exponent - count + 1 + 4;
    Int128 scaled = 0;
    if (power >= 0) {
        if (power > 20) return std::nullopt;
        scaled = digits;
        for (int i = 0; i < power; ++i) scaled *= 10;
    } else if (power >= -20) {
        Int128 divisor = 1;
        for (int i = 0; i < -power; ++i) divisor *= 10;
        scaled = divideHalfEven(digits, divisor);
    }
    return checked(negative ? -scaled : scaled);
}

std::optional<Currency> Currency::plus(Currency other) const {
    return checked(static_cast<Int128>(raw_) + other.raw_);
}

std::optional<Currency> Currency::minus(Currency other) const {
    return checked(static_cast<Int128>(raw_) - other.raw_);
}

std::optional<Currency> Currency::times(Currency other) const {
    return checked(divideHalfEven(static_cast<Int128>(raw_) * other.raw_, kScale));
}

std::string Currency::toDecimalString() const {
    const bool negative = raw_ < 0;
    const auto magnitude = negative ? -static_cast<Int128>(raw_) : static_cast<Int128>(raw_);
    const auto whole = static_cast<unsigned long long>(magnitude / kScale);
    const auto frac = static_cast<int>(magnitude % kScale);
    std::string out = negative ? "-" : "";
    out += std::to_string(whole);
    if (frac != 0) {
        std::string f = std::to_string(frac);
        f.insert(f.begin(), 4 - f.size(), '0');
        while (f.back() == '0') f.pop_back();
        out += "." + f;
    }
    return out;
}

QString Currency::toText(const QLocale& locale) const {
    return localizeDecimal(toDecimalString(), locale);
}

QString Currency::toFixedText(int decimals, const QLocale& locale) const {
    return localizeDecimal(roundDecimalString(toDecimalString(), decimals), locale);
}

}  // namespace normativ
