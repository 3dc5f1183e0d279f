#pragma once

// How QtTest prints a field value in a failed comparison.

#include "fieldvalue.h"

#include <QByteArray>
#include <QLocale>
#include <QString>

namespace normativ {

inline char* toString(const FieldValue& v) {
    static const char* const kinds[] = {"Empty", "Text", "Integer", "Single", "Double"};
    const QString text =
        QStringLiteral("%1(%2)")
            .arg(QLatin1String(kinds[static_cast<int>(v.kind())]))
            .arg(v.isText() ? v.textValue() : QString::number(v.toDouble(QLocale::c()), 'g', 17));
    return qstrdup(text.toUtf8().constData());
}

}  // namespace normativ
