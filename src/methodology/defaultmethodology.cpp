#include "defaultmethodology.h"

#include "methodologytexts.h"
#include "methodologyworkbook.h"

#include <QStandardPaths>

namespace normativ {

DefaultMethodology loadDefaultMethodology() {
    DefaultMethodology found{Methodology::example(), QString(), QString()};
    const QString path = QStandardPaths::locate(QStandardPaths::GenericConfigLocation,
                                                QStringLiteral("normativ/methodology.xlsx"));
    if (path.isEmpty()) return found;
    Result<Methodology> read = readMethodologyFile(path);
    if (!read) {
        found.error = methodologyTexts().deployedRefused.arg(path, read.error());
        return found;
    }
    found.methodology = std::make_shared<const Methodology>(std::move(*read));
    found.path = path;
    return found;
}

}  // namespace normativ
