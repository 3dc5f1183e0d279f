// Feeds arbitrary bytes to the .xls (compound file, BIFF8) reader.
#include "readxls.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const auto result = normativ::readXls(bytes);
    if (result) (void)result.value().cell(1, 1, 1);
    return 0;
}
