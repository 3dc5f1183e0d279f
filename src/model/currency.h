#pragma once

#include <QLocale>
#include <QString>
#include <compare>
#include <cstdint>
#include <optional>

namespace normativ {

/// A fixed-point amount with four decimal places, held as a signed 64-bit count of
/// ten-thousandths. Every conversion and product rounds to the nearest ten-thousandth,
/// halves to even; a result outside the 64-bit range is reported as nothing, never
/// wrapped.
class Currency {
  public:
    static constexpr std::int64_t kScale = 10000;

    constexpr Currency() = default;
    static constexpr Currency fromRaw(std::int64_t tenThousandths) {
        Currency c;
        c.raw_ = tenThousandths;
        return c;
    }
    static constexpr Currency fromWhole(std::int64_t whole) { return fromRaw(whole * kScale); }

    /// `value` × 10000 in double precision, rounded to the nearest whole, halves to even;
    /// nothing for NaN, infinities and values beyond the range.
    static std::optional<Currency> fromDouble(double value);
    /// A typed number: its shortest decimal text (the digits the user typed, for up to 15
    /// significant digits) rounded exactly to four places, halves to even, so that a typed
    /// "24,55935" keeps the 24.5594 a hand check gives; nothing as for fromDouble.
    static std::optional<Currency> fromTypedNumber(double value);

    constexpr std::int64_t raw() const { return raw_; }
    double toDouble() const { return static_cast<double>(raw_) / kScale; }

    /// Checked sum and difference.
    std::optional<Currency> plus(Currency other) const;
    std::optional<Currency> minus(Currency other) const;
    /// Checked product of two amounts, rounded to four decimals, halves to even.
    std::optional<Currency> times(Currency other) const;

    /// Shortest decimal text in the locale ("12,5", "0", "-3").
    QString toText(const QLocale& locale) const;
    /// Fixed-decimals text, halves away from zero (display patterns).
    QString toFixedText(int decimals, const QLocale& locale) const;
    /// '.'-separated shortest decimal text ("12.5").
    std::string toDecimalString() const;

    friend constexpr auto operator<=>(Currency, Currency) = default;
    friend constexpr bool operator==(Currency, Currency) = default;

  private:
    std::int64_t raw_ = 0;
};

}  // namespace normativ
