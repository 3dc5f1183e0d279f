// Feeds arbitrary bytes to the workbook loader (saved report or statistical form): it
// must refuse or load, and a refusal must leave the record as it was.
#include "normativecalculation.h"
#include "workbookloader.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    normativ::Store store{QLocale(QLocale::Russian)};
    store.record.institutionName = normativ::FieldValue::text(QStringLiteral("до загрузки"));
    const auto result = normativ::loadWorkbookIntoStore(bytes, store);
    if (!result.ok) {
        if (store.record.institutionName !=
                normativ::FieldValue::text(QStringLiteral("до загрузки")) ||
            store.record.wizardStep != 0)
            std::abort();  // a refused file changed the record
        return 0;
    }
    (void)normativ::runNormativeCalculation(store);
    return 0;
}
