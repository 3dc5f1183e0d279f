// Feeds arbitrary bytes to normativ-calc's answers document reader, and calculates what
// it accepts.
#include "answersdocument.h"
#include "normativecalculation.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    auto document = normativ::loadAnswersDocument(bytes, QLocale(QLocale::Russian));
    if (document) {
        const auto result = normativ::runNormativeCalculation(document.value());
        (void)normativ::resultDocument(result, document.value());
    }
    return 0;
}
