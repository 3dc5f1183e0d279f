#pragma once

#include <QLocale>
#include <QString>
#include <cstdint>
#include <variant>

namespace normativ {

/// The tagged value every field of the record holds: Empty, Text (an answer as typed),
/// Integer (flags, the wizard step), Single (payroll defaults) or Double (the
/// not-entered marker, results, numbers read from a workbook).
class FieldValue {
  public:
    enum class Kind { Empty, Text, Integer, Single, Double };

    FieldValue() = default;
    static FieldValue text(const QString& s) { return FieldValue(Value(s)); }
    static FieldValue integer(std::int64_t v) { return FieldValue(Value(v)); }
    static FieldValue single(float v) { return FieldValue(Value(v)); }
    static FieldValue number(double v) { return FieldValue(Value(v)); }
    static FieldValue notEntered();

    Kind kind() const { return static_cast<Kind>(value_.index()); }
    bool isEmpty() const { return kind() == Kind::Empty; }
    bool isText() const { return kind() == Kind::Text; }
    QString textValue() const;

    /// The number the field counts as in arithmetic: Text converted by the locale (a
    /// text that is not a number counts as 0), Empty as 0.
    double toDouble(const QLocale& locale) const;

    /// True when the field holds a number (or a numeric text) equal to the marker.
    bool isNotEnteredMarker(const QLocale& locale) const;
    /// Empty, empty text, or the marker.
    bool isNotEntered(const QLocale& locale) const;
    /// Empty, empty text, or a value that counts as 0.
    bool isZero(const QLocale& locale) const;

    /// The text the answer box shows for this field: a text as it stands, a number as
    /// its shortest decimal text in the locale, Empty as empty text. The marker is
    /// never shown (callers test isNotEnteredMarker first).
    QString displayText(const QLocale& locale) const;

    friend bool operator==(const FieldValue&, const FieldValue&) = default;

  private:
    using Value = std::variant<std::monostate, QString, std::int64_t, float, double>;
    explicit FieldValue(Value v) : value_(std::move(v)) {}
    Value value_;
};

/// The answer-box rule: numeric text is stored as typed, anything else as the marker.
FieldValue answerFromText(const QString& typed, const QLocale& locale);

}  // namespace normativ
