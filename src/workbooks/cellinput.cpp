#include "cellinput.h"

#include "numbers.h"

#include <QStringList>

namespace normativ {

CellValue typedCellValue(const QString& text, const QLocale& locale) {
    if (text.isEmpty()) return CellValue();
    if (const auto number = parseNumber(text, locale)) return CellValue::number(*number);
    return CellValue::text(text);
}

CellValue fieldCellValue(const FieldValue& value, const QLocale& locale) {
    switch (value.kind()) {
        case FieldValue::Kind::Empty:
            return CellValue();
        case FieldValue::Kind::Text:
            return typedCellValue(value.textValue(), locale);
        case FieldValue::Kind::Integer:
        case FieldValue::Kind::Single:
        case FieldValue::Kind::Double:
            return CellValue::number(value.toDouble(locale));
    }
    return CellValue();
}

FieldValue fieldFromCell(const CellValue& cell) {
    switch (cell.kind()) {
        case CellValue::Kind::Empty:
            return FieldValue();
        case CellValue::Kind::Number:
            return FieldValue::number(cell.toNumber());
        case CellValue::Kind::Text:
            return FieldValue::text(cell.toText());
        case CellValue::Kind::Bool:
            return FieldValue::integer(cell.toBool() ? 1 : 0);
    }
    return FieldValue();
}

std::optional<double> cellNumber(const CellValue& cell, const QLocale& locale) {
    if (cell.isNumber()) return cell.toNumber();
    if (cell.isText()) return parseNumber(cell.toText(), locale);
    return std::nullopt;
}

QString safeFileName(const QString& name) {
    QString out = name;
    for (QChar& ch : out) {
        if (QStringView(u"/\\:*?\"<>|").contains(ch) || ch.category() == QChar::Other_Control) {
            ch = u'_';
        }
    }
    return out;
}

QString workbookFileName(const QString& title, const Store& store) {
    // File names hold at most 255 bytes; the title, the year and the extension need few.
    constexpr int kMaxNameCharacters = 100;
    QStringList parts{title};
    QString institution = store.record.institutionName.displayText(store.locale).simplified();
    if (institution.size() > kMaxNameCharacters) {
        institution.truncate(kMaxNameCharacters);
        if (institution.back().isHighSurrogate()) institution.chop(1);
    }
    const QString year = store.record.planningYear.displayText(store.locale).simplified();
    for (const QString& part : {institution, year}) {
        if (!part.isEmpty()) parts << part;
    }
    return safeFileName(parts.join(u' ') + QStringLiteral(".xlsx"));
}

}  // namespace normativ
