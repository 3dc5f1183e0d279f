// Feeds arbitrary bytes to the .xlsx reader: it must refuse or read within its caps.
#include "readxlsx.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const auto result = normativ::readXlsx(bytes);
    if (result) (void)result.value().cell(1, 1, 1);
    return 0;
}
