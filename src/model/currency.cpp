#include "currency.h"

#include "numbers.h"

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
    if (!std::isfinite(value)) return std::nullopt;
    if (value == 0.0) return Currency();
    // value = mantissa × 2^exp exactly, with a 53-bit integer mantissa.
    int exp = 0;
    const double frac = std::frexp(value, &exp);
    const auto mantissa = static_cast<std::int64_t>(std::ldexp(frac, 53));
    exp -= 53;
    const Int128 scaled = static_cast<Int128>(mantissa) * kScale;  // < 2^67
    if (exp >= 0) {
        if (exp > 60) return std::nullopt;
        const Int128 shifted = scaled << exp;
        if (scaled != 0 && (shifted >> exp) != scaled) return std::nullopt;
        return checked(shifted);
    }
    const int shift = -exp;
    if (shift >= 100) return Currency();  // |value| × 10^4 < 2^-30: rounds to 0
    return checked(divideHalfEven(scaled, static_cast<Int128>(1) << shift));
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
