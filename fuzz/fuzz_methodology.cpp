// Feeds arbitrary bytes to the methodology workbook reader: it must refuse or read within
// the workbook caps, and what it accepts must be a methodology the program can use.
#include "methodologyfingerprint.h"
#include "methodologyworkbook.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const auto read = normativ::readMethodologyWorkbook(bytes);
    if (!read) return 0;
    const normativ::Methodology& m = read.value();
    if (m.planningYears.empty() || m.name.trimmed().isEmpty()) std::abort();
    (void)normativ::methodologyFingerprint(m);
    // An accepted methodology writes back without a refused value.
    if (!normativ::buildMethodologyWorkbook(m).error().isEmpty()) std::abort();
    return 0;
}
