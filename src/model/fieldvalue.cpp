#include "fieldvalue.h"

#include "numbers.h"

namespace normativ {

FieldValue FieldValue::notEntered() {
    return number(kNotEnteredMarker);
}

QString FieldValue::textValue() const {
    if (const auto* s = std::get_if<QString>(&value_)) return *s;
    return QString();
}

double FieldValue::toDouble(const QLocale& locale) const {
    switch (kind()) {
        case Kind::Empty:
            return 0.0;
        case Kind::Text:
            return parseNumber(std::get<QString>(value_), locale).value_or(0.0);
        case Kind::Integer:
            return static_cast<double>(std::get<std::int64_t>(value_));
        case Kind::Single:
            return static_cast<double>(std::get<float>(value_));
        case Kind::Double:
            return std::get<double>(value_);
    }
    return 0.0;
}

bool FieldValue::isNotEnteredMarker(const QLocale& locale) const {
    if (isEmpty()) return false;
    if (isText() && !isNumericText(std::get<QString>(value_), locale)) return false;
    return toDouble(locale) == kNotEnteredMarker;
}

bool FieldValue::isNotEntered(const QLocale& locale) const {
    return isEmpty() || (isText() && std::get<QString>(value_).isEmpty()) ||
           isNotEnteredMarker(locale);
}

bool FieldValue::isZero(const QLocale& locale) const {
    return isEmpty() || (isText() && std::get<QString>(value_).isEmpty()) ||
           toDouble(locale) == 0.0;
}

QString FieldValue::displayText(const QLocale& locale) const {
    switch (kind()) {
        case Kind::Empty:
            return QString();
        case Kind::Text:
            return std::get<QString>(value_);
        case Kind::Integer:
            return QString::number(std::get<std::int64_t>(value_));
        case Kind::Single:
            return plainTextSingle(std::get<float>(value_), locale);
        case Kind::Double:
            return plainText(std::get<double>(value_), locale);
    }
    return QString();
}

FieldValue answerFromText(const QString& typed, const QLocale& locale) {
    if (!isNumericText(typed, locale)) return FieldValue::notEntered();
    return FieldValue::text(typed);
}

}  // namespace normativ
