#include "cellvalue.h"

namespace normativ {

QString CellValue::debugString() const {
    switch (kind()) {
        case Kind::Empty:
            return QStringLiteral("Empty");
        case Kind::Number:
            return QStringLiteral("Number(%1)").arg(toNumber(), 0, 'g', 17);
        case Kind::Text:
            return QStringLiteral("Text(\"%1\")").arg(toText());
        case Kind::Bool:
            return toBool() ? QStringLiteral("Bool(true)") : QStringLiteral("Bool(false)");
    }
    return {};
}

}  // namespace normativ
