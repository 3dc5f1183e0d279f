#include "openworkbook.h"

#include "readertexts.h"
#include "readxls.h"
#include "readxlsx.h"

namespace normativ {

WorkbookFormat detectWorkbookFormat(const QByteArray& data) {
    if (data.startsWith(QByteArrayLiteral("PK\x03\x04")) ||
        data.startsWith(QByteArrayLiteral("PK\x05\x06"))) {
        return WorkbookFormat::Xlsx;
    }
    if (data.startsWith(QByteArrayLiteral("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1"))) {
        return WorkbookFormat::Xls;
    }
    return WorkbookFormat::Unknown;
}

Result<LoadedWorkbook> openWorkbook(const QByteArray& data) {
    if (data.isEmpty()) {
        return Result<LoadedWorkbook>::failure(readerTexts().emptyFile);
    }
    if (data.size() > readlimits::kMaxFileSize) {
        return Result<LoadedWorkbook>::failure(readerTexts().fileTooLarge);
    }
    switch (detectWorkbookFormat(data)) {
        case WorkbookFormat::Xlsx:
            return readXlsx(data);
        case WorkbookFormat::Xls:
            return readXls(data);
        case WorkbookFormat::Unknown:
            break;
    }
    return Result<LoadedWorkbook>::failure(readerTexts().notWorkbook);
}

}  // namespace normativ
