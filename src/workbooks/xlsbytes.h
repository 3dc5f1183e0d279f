#pragma once

#include "readertexts.h"

#include <QString>
#include <cstdint>

// Little-endian fields and the damage message shared by the .xls container and record
// readers.
namespace normativ::xls {

inline QString damaged(const QString& why) {
    return readerTexts().xlsDamaged.arg(why);
}

inline std::uint16_t u16(const char* p) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(p[0]) |
                                      (static_cast<unsigned char>(p[1]) << 8));
}

inline std::uint32_t u32(const char* p) {
    return static_cast<std::uint32_t>(u16(p)) | (static_cast<std::uint32_t>(u16(p + 2)) << 16);
}

}  // namespace normativ::xls
