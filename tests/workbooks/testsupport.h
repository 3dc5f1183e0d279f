#pragma once

// Helpers of the workbook tests: fixtures, a memory cap, and builders of small zip and
// compound files, honest or crafted.

#include <sys/resource.h>
#include <QByteArray>
#include <QFile>
#include <QString>
#include <QtEndian>
#include <cstdint>
#include <string>
#include <vector>

#if defined(__SANITIZE_ADDRESS__)
#define NORMATIV_TEST_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define NORMATIV_TEST_ASAN 1
#endif
#endif

namespace testsupport {

inline QByteArray fixture(const QString& name) {
    QFile file(QStringLiteral(NORMATIV_WB_FIXTURES "/") + name);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return file.readAll();
}

/// Caps the process's address space at 256 MiB, so that a reader building anything from
/// a declared size fails the test instead of the machine. Not under ASan, whose shadow
/// memory needs far more address space.
inline bool limitAddressSpace() {
#ifdef NORMATIV_TEST_ASAN
    return false;
#else
    rlimit limit{};
    limit.rlim_cur = 256ull * 1024 * 1024;
    limit.rlim_max = RLIM_INFINITY;
    getrlimit(RLIMIT_AS, &limit);
    limit.rlim_cur = 256ull * 1024 * 1024;
    return setrlimit(RLIMIT_AS, &limit) == 0;
#endif
}

inline std::uint32_t crc32(const QByteArray& data) {
    static std::uint32_t table[256] = {};
    if (table[1] == 0) {
        for (std::uint32_t i = 0; i < 256; ++i) {
            std::uint32_t c = i;
            for (int k = 0; k < 8; ++k) {
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            }
            table[i] = c;
        }
    }
    std::uint32_t crc = 0xFFFFFFFFu;
    for (char ch : data) {
        crc = table[(crc ^ static_cast<unsigned char>(ch)) & 0xFF] ^ (crc >> 8);
    }
    return crc ^ 0xFFFFFFFFu;
}

inline void put16(QByteArray& b, std::uint32_t v) {
    b.append(static_cast<char>(v & 0xFF));
    b.append(static_cast<char>((v >> 8) & 0xFF));
}

inline void put32(QByteArray& b, std::uint32_t v) {
    put16(b, v & 0xFFFF);
    put16(b, v >> 16);
}

inline void set32(QByteArray& b, qsizetype at, std::uint32_t v) {
    qToLittleEndian<std::uint32_t>(v, b.data() + at);
}

/// A raw deflate stream of `size` zero bytes: a literal and then matches of 258 bytes at
/// distance 1 in fixed Huffman codes, 13 bits each (about 1:1280).
inline QByteArray deflateZeros(std::int64_t size) {
    QByteArray out;
    std::uint32_t acc = 0;
    int bits = 0;
    const auto put = [&](std::uint32_t value, int count) {  // LSB first
        acc |= value << bits;
        bits += count;
        while (bits >= 8) {
            out.append(static_cast<char>(acc & 0xFF));
            acc >>= 8;
            bits -= 8;
        }
    };
    const auto putCode = [&](std::uint32_t code, int count) {  // Huffman codes MSB first
        std::uint32_t reversed = 0;
        for (int i = 0; i < count; ++i) {
            reversed |= ((code >> i) & 1u) << (count - 1 - i);
        }
        put(reversed, count);
    };
    put(1, 1);         // final block
    put(1, 2);         // fixed Huffman
    putCode(0x30, 8);  // literal 0
    std::int64_t left = size - 1;
    while (left >= 258) {
        putCode(0xC5, 8);  // length 258
        putCode(0, 5);     // distance 1
        left -= 258;
    }
    while (left-- > 0) {
        putCode(0x30, 8);
    }
    putCode(0, 7);  // end of block
    if (bits > 0) {
        out.append(static_cast<char>(acc & 0xFF));
    }
    return out;
}

/// One entry of a zip file as it is written, declared sizes and CRC included, so that a
/// test can make them lie.
struct ZipEntry {
    QByteArray name;
    QByteArray data;  // as stored (deflated when method is 8)
    std::uint16_t method = 0;
    std::uint32_t crc = 0;
    std::uint32_t compressedSize = 0;
    std::uint32_t size = 0;
    std::uint16_t flags = 0;
};

inline ZipEntry storedEntry(const QByteArray& name, const QByteArray& data) {
    return {name,
            data,
            0,
            crc32(data),
            static_cast<std::uint32_t>(data.size()),
            static_cast<std::uint32_t>(data.size()),
            0};
}

inline QByteArray buildZip(const std::vector<ZipEntry>& entries) {
    QByteArray out;
    QByteArray central;
    for (const ZipEntry& e : entries) {
        const auto offset = static_cast<std::uint32_t>(out.size());
        put32(out, 0x04034b50);
        put16(out, 20);
        put16(out, e.flags);
        put16(out, e.method);
        put32(out, 0);  // time, date
        put32(out, e.crc);
        put32(out, e.compressedSize);
        put32(out, e.size);
        put16(out, static_cast<std::uint32_t>(e.name.size()));
        put16(out, 0);
        out += e.name;
        out += e.data;

        put32(central, 0x02014b50);
        put16(central, 20);
        put16(central, 20);
        put16(central, e.flags);
        put16(central, e.method);
        put32(central, 0);
        put32(central, e.crc);
        put32(central, e.compressedSize);
        put32(central, e.size);
        put16(central, static_cast<std::uint32_t>(e.name.size()));
        put16(central, 0);
        put16(central, 0);
        put16(central, 0);
        put16(central, 0);
        put32(central, 0);
        put32(central, offset);
        central += e.name;
    }
    const auto centralOffset = static_cast<std::uint32_t>(out.size());
    out += central;
    put32(out, 0x06054b50);
    put16(out, 0);
    put16(out, 0);
    put16(out, static_cast<std::uint32_t>(entries.size()));
    put16(out, static_cast<std::uint32_t>(entries.size()));
    put32(out, static_cast<std::uint32_t>(central.size()));
    put32(out, centralOffset);
    put16(out, 0);
    return out;
}

inline const char* const kRootRels =
    "<?xml version=\"1.0\"?><Relationships "
    "xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\"><Relationship "
    "Id=\"rId1\" "
    "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument\" "
    "Target=\"xl/workbook.xml\"/></Relationships>";

inline QByteArray workbookXml(int sheets) {
    QByteArray xml =
        "<workbook xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
        "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\"><sheets>";
    for (int i = 1; i <= sheets; ++i) {
        xml += "<sheet name=\"S" + QByteArray::number(i) + "\" sheetId=\"" + QByteArray::number(i) +
               "\" r:id=\"rId" + QByteArray::number(i) + "\"/>";
    }
    return xml + "</sheets></workbook>";
}

inline QByteArray workbookRels(int sheets,
                               const QByteArray& firstTarget = "worksheets/sheet1.xml") {
    QByteArray xml =
        "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">";
    for (int i = 1; i <= sheets; ++i) {
        const QByteArray target =
            i == 1 ? firstTarget : "worksheets/sheet" + QByteArray::number(i) + ".xml";
        xml += "<Relationship Id=\"rId" + QByteArray::number(i) +
               "\" "
               "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/"
               "worksheet\" Target=\"" +
               target + "\"/>";
    }
    xml +=
        "<Relationship Id=\"rIdS\" "
        "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/"
        "sharedStrings\" Target=\"sharedStrings.xml\"/>";
    return xml + "</Relationships>";
}

inline QByteArray sheetXml(const QByteArray& sheetData) {
    return "<worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">"
           "<sheetData>" +
           sheetData + "</sheetData></worksheet>";
}

/// The entries of a one-sheet package; tests replace or add entries before building.
inline std::vector<ZipEntry> packageEntries(
    const QByteArray& sheetData, const QByteArray& sharedStrings =
                                     "<sst xmlns=\"http://schemas.openxmlformats.org/"
                                     "spreadsheetml/2006/main\"><si><t>a</t></si></sst>") {
    return {storedEntry("_rels/.rels", kRootRels), storedEntry("xl/workbook.xml", workbookXml(1)),
            storedEntry("xl/_rels/workbook.xml.rels", workbookRels(1)),
            storedEntry("xl/sharedStrings.xml", sharedStrings),
            storedEntry("xl/worksheets/sheet1.xml", sheetXml(sheetData))};
}

inline QByteArray package(const QByteArray& sheetData) {
    return buildZip(packageEntries(sheetData));
}

// ---------------------------------------------------------------- BIFF8 and compound files

inline QByteArray record(std::uint16_t type, const QByteArray& data) {
    QByteArray r;
    put16(r, type);
    put16(r, static_cast<std::uint32_t>(data.size()));
    return r + data;
}

inline QByteArray bof(std::uint16_t kind) {
    QByteArray d;
    put16(d, 0x0600);
    put16(d, kind);
    put32(d, 0);
    put32(d, 0);
    put32(d, 0);
    return record(0x0809, d);
}

inline QByteArray eofRecord() {
    return record(0x000A, {});
}

inline QByteArray cellHeader(int row, int column) {
    QByteArray d;
    put16(d, static_cast<std::uint32_t>(row));
    put16(d, static_cast<std::uint32_t>(column));
    put16(d, 15);
    return d;
}

inline QByteArray numberRecord(int row, int column, double value) {
    QByteArray d = cellHeader(row, column);
    QByteArray v(8, '\0');
    qToLittleEndian<double>(value, v.data());
    return record(0x0203, d + v);
}

/// A workbook stream: globals with one BOUNDSHEET per sheet body (each a list of cell
/// records) and the given extra globals records (an SST ...), then the sheets.
inline QByteArray biffStream(const std::vector<QByteArray>& sheetBodies,
                             const QByteArray& extraGlobals = {}) {
    const auto boundSheet = [](std::uint32_t offset, int i) {
        QByteArray d;
        put32(d, offset);
        d.append('\0');
        d.append('\0');
        const QByteArray name = "S" + QByteArray::number(i);
        d.append(static_cast<char>(name.size()));
        d.append('\0');
        return record(0x0085, d + name);
    };
    QByteArray globals = bof(0x0005);
    for (std::size_t i = 0; i < sheetBodies.size(); ++i) {
        globals += boundSheet(0, static_cast<int>(i) + 1);
    }
    globals += extraGlobals + eofRecord();
    QByteArray stream = globals;
    qsizetype boundAt = bof(0x0005).size();
    for (std::size_t i = 0; i < sheetBodies.size(); ++i) {
        set32(stream, boundAt + 4, static_cast<std::uint32_t>(stream.size()));
        boundAt += boundSheet(0, static_cast<int>(i) + 1).size();
        stream += bof(0x0010) + sheetBodies[i] + eofRecord();
    }
    return stream;
}

/// Offsets of the parts of a compound file made by compoundFile().
struct CompoundLayout {
    static constexpr qsizetype kFatSector = 512;   // sector 0
    static constexpr qsizetype kDirectory = 1024;  // sector 1
    static constexpr qsizetype kStream = 1536;     // sectors 2...
};

/// A version 3 compound file holding one stream "Workbook" in regular sectors (padded to
/// 4096 bytes, the smallest size kept out of the mini stream): header, one FAT sector,
/// one directory sector, then the stream.
inline QByteArray compoundFile(QByteArray stream) {
    if (stream.size() < 4096) {
        stream.append(QByteArray(4096 - stream.size(), '\0'));
    }
    const auto streamSectors = static_cast<std::uint32_t>((stream.size() + 511) / 512);
    QByteArray header("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
    header.append(QByteArray(16, '\0'));
    put16(header, 0x3E);
    put16(header, 3);
    put16(header, 0xFFFE);
    put16(header, 9);
    put16(header, 6);
    header.append(QByteArray(6, '\0'));
    put32(header, 0);  // directory sectors
    put32(header, 1);  // FAT sectors
    put32(header, 1);  // first directory sector
    put32(header, 0);
    put32(header, 4096);
    put32(header, 0xFFFFFFFE);  // no mini FAT
    put32(header, 0);
    put32(header, 0xFFFFFFFE);  // no DIFAT
    put32(header, 0);
    put32(header, 0);  // FAT in sector 0
    for (int i = 1; i < 109; ++i) {
        put32(header, 0xFFFFFFFF);
    }
    QByteArray fat;
    put32(fat, 0xFFFFFFFD);
    put32(fat, 0xFFFFFFFE);
    for (std::uint32_t i = 0; i < streamSectors; ++i) {
        put32(fat, i + 1 < streamSectors ? 3 + i : 0xFFFFFFFE);
    }
    while (fat.size() < 512) {
        put32(fat, 0xFFFFFFFF);
    }
    const auto entry = [](const QString& name, int type, std::uint32_t child, std::uint32_t start,
                          std::uint32_t size) {
        QByteArray e;
        for (QChar c : name) {
            put16(e, c.unicode());
        }
        put16(e, 0);
        e.append(QByteArray(64 - e.size(), '\0'));
        put16(e, static_cast<std::uint32_t>((name.size() + 1) * 2));
        e.append(static_cast<char>(type));
        e.append('\1');
        put32(e, 0xFFFFFFFF);
        put32(e, 0xFFFFFFFF);
        put32(e, child);
        e.append(QByteArray(16 + 4 + 16, '\0'));
        put32(e, start);
        put32(e, size);
        put32(e, 0);
        return e;
    };
    QByteArray directory = entry(QStringLiteral("Root Entry"), 5, 1, 0xFFFFFFFE, 0) +
                           entry(QStringLiteral("Workbook"), 2, 0xFFFFFFFF, 2,
                                 static_cast<std::uint32_t>(stream.size()));
    directory.append(QByteArray(512 - directory.size(), '\0'));
    stream.append(QByteArray(static_cast<qsizetype>(streamSectors) * 512 - stream.size(), '\0'));
    return header + fat + directory + stream;
}

}  // namespace testsupport
