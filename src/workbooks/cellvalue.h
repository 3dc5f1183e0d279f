#pragma once

#include <QString>
#include <variant>

namespace normativ {

/// The value a spreadsheet cell holds, as a reader gives it back: Empty (a blank or a
/// missing cell, a formula without a stored result), a Number, a Text or a Bool.
class CellValue {
  public:
    enum class Kind { Empty, Number, Text, Bool };

    CellValue() = default;
    static CellValue number(double v) { return CellValue(Value(v)); }
    static CellValue text(QString s) { return CellValue(Value(std::move(s))); }
    static CellValue boolean(bool b) { return CellValue(Value(b)); }

    Kind kind() const { return static_cast<Kind>(value_.index()); }
    bool isEmpty() const { return kind() == Kind::Empty; }
    bool isNumber() const { return kind() == Kind::Number; }
    bool isText() const { return kind() == Kind::Text; }
    bool isBool() const { return kind() == Kind::Bool; }

    /// The number; 0 unless isNumber().
    double toNumber() const { return isNumber() ? std::get<double>(value_) : 0.0; }
    /// The text; empty unless isText().
    QString toText() const { return isText() ? std::get<QString>(value_) : QString(); }
    /// The truth value; false unless isBool().
    bool toBool() const { return isBool() && std::get<bool>(value_); }

    /// A short description for test messages: Empty, Number(1.5), Text("a"), Bool(true).
    QString debugString() const;

    friend bool operator==(const CellValue&, const CellValue&) = default;

  private:
    using Value = std::variant<std::monostate, double, QString, bool>;
    explicit CellValue(Value v) : value_(std::move(v)) {}
    Value value_;
};

}  // namespace normativ
