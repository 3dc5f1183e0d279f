#include "readxls.h"

#include "xlsbytes.h"

#include "celladdress.h"
#include "compoundfile.h"

#include <cmath>
#include <cstring>
#include <string_view>
#include <vector>

namespace normativ {

namespace rl = readlimits;

namespace {

enum RecordType : std::uint16_t {
    kFormula = 0x0006,
    kEof = 0x000A,
    kFilePass = 0x002F,
    kContinue = 0x003C,
    kBoundSheet = 0x0085,
    kMulRk = 0x00BD,
    kRString = 0x00D6,
    kSst = 0x00FC,
    kLabelSst = 0x00FD,
    kNumber = 0x0203,
    kLabel = 0x0204,
    kBoolErr = 0x0205,
    kString = 0x0207,
    kRk = 0x027E,
    kBof = 0x0809,
    kShrFmla = 0x04BC,
    kArray = 0x0221,
    kTable = 0x0236,
};

using xls::damaged;
using xls::u16;
using xls::u32;

double f64(const char* p) {
    std::uint64_t bits = 0;
    for (int i = 7; i >= 0; --i) {
        bits = (bits << 8) | static_cast<unsigned char>(p[i]);
    }
    double v = 0;
    std::memcpy(&v, &bits, sizeof v);
    return v;
}

double rkValue(std::uint32_t rk) {
    double v = 0;
    if (rk & 2u) {
        v = static_cast<double>(static_cast<std::int32_t>(rk) >> 2);
    } else {
        const std::uint64_t bits = static_cast<std::uint64_t>(rk & 0xFFFFFFFCu) << 32;
        std::memcpy(&v, &bits, sizeof v);
    }
    return (rk & 1u) ? v / 100.0 : v;
}

QString errorText(unsigned code) {
    switch (code) {
        case 0x00:
            return QStringLiteral("#NULL!");
        case 0x07:
            return QStringLiteral("#DIV/0!");
        case 0x0F:
            return QStringLiteral("#VALUE!");
        case 0x17:
            return QStringLiteral("#REF!");
        case 0x1D:
            return QStringLiteral("#NAME?");
        case 0x24:
            return QStringLiteral("#NUM!");
        default:
            return QStringLiteral("#N/A");
    }
}

struct Record {
    std::uint16_t type = 0;
    std::string_view data;
};

// Records of a stream, each length checked against what is left of the stream.
class Records {
  public:
    explicit Records(std::string_view stream, std::size_t at = 0) : s_(stream), pos_(at) {}
    // False at the end of the stream; sets `error` for a record running past it.
    bool next(Record& r, QString& error) {
        if (pos_ >= s_.size()) {
            return false;
        }
        if (s_.size() - pos_ < 4) {
            error = damaged(QStringLiteral("запись обрывается"));
            return false;
        }
        r.type = u16(s_.data() + pos_);
        const std::size_t len = u16(s_.data() + pos_ + 2);
        if (s_.size() - pos_ - 4 < len) {
            error = damaged(QStringLiteral("длина записи больше потока"));
            return false;
        }
        r.data = s_.substr(pos_ + 4, len);
        pos_ += 4 + len;
        return true;
    }
    std::uint16_t peekType() const {
        return s_.size() - pos_ >= 4 ? u16(s_.data() + pos_) : std::uint16_t(0);
    }

  private:
    std::string_view s_;
    std::size_t pos_;
};

// The data of a record and its CONTINUE records, read across their boundaries. A string's
// characters re-read the option byte that starts each continuation.
class Segments {
  public:
    void add(std::string_view data) { segs_.push_back(data); }
    bool atEnd() {
        skipEmpty();
        return seg_ >= segs_.size();
    }
    bool bytes(std::size_t n, std::string* out) {
        while (n > 0) {
            skipEmpty();
            if (seg_ >= segs_.size()) {
                return false;
            }
            const std::size_t take = std::min(n, segs_[seg_].size() - off_);
            if (out != nullptr) {
                out->append(segs_[seg_].data() + off_, take);
            }
            off_ += take;
            n -= take;
        }
        return true;
    }
    bool u8(unsigned& v) {
        std::string b;
        if (!bytes(1, &b)) {
            return false;
        }
        v = static_cast<unsigned char>(b[0]);
        return true;
    }
    bool u16v(unsigned& v) {
        std::string b;
        if (!bytes(2, &b)) {
            return false;
        }
        v = u16(b.data());
        return true;
    }
    bool u32v(std::uint32_t& v) {
        std::string b;
        if (!bytes(4, &b)) {
            return false;
        }
        v = u32(b.data());
        return true;
    }
    // `count` characters, 8-bit (Latin-1) or UTF-16 as the option byte says; at each
    // record boundary inside them a new option byte comes first.
    bool chars(unsigned count, bool highByte, QString& out) {
        out.reserve(static_cast<qsizetype>(count));
        while (count > 0) {
            if (seg_ < segs_.size() && off_ >= segs_[seg_].size()) {
                ++seg_;
                off_ = 0;
                unsigned flags = 0;
                if (seg_ >= segs_.size() || segs_[seg_].empty()) {
                    return false;
                }
                flags = static_cast<unsigned char>(segs_[seg_][0]);
                off_ = 1;
                highByte = (flags & 1u) != 0;
            }
            if (seg_ >= segs_.size()) {
                return false;
            }
            const std::string_view seg = segs_[seg_];
            const std::size_t width = highByte ? 2 : 1;
            const std::size_t available = (seg.size() - off_) / width;
            if (available == 0) {
                return false;
            }
            const std::size_t take = std::min<std::size_t>(count, available);
            for (std::size_t i = 0; i < take; ++i) {
                const char* p = seg.data() + off_ + i * width;
                out += highByte ? QChar(static_cast<char16_t>(u16(p)))
                                : QChar(static_cast<char16_t>(static_cast<unsigned char>(*p)));
            }
            off_ += take * width;
            count -= static_cast<unsigned>(take);
        }
        return true;
    }

  private:
    void skipEmpty() {
        while (seg_ < segs_.size() && off_ >= segs_[seg_].size()) {
            ++seg_;
            off_ = 0;
        }
    }
    std::vector<std::string_view> segs_;
    std::size_t seg_ = 0;
    std::size_t off_ = 0;
};

// An XLUnicodeRichExtendedString (the SST's strings, LABEL, STRING): 16-bit length,
// option byte, optional run count and extension size, characters, then runs and
// extension skipped.
bool readUnicodeString(Segments& in, QString& out, QString& error) {
    unsigned cch = 0;
    unsigned flags = 0;
    if (!in.u16v(cch) || !in.u8(flags)) {
        error = damaged(QStringLiteral("строка обрывается"));
        return false;
    }
    if (cch > static_cast<unsigned>(kMaxCellTextLength)) {
        error = damaged(QStringLiteral("текст ячейки длиннее %1 знаков").arg(kMaxCellTextLength));
        return false;
    }
    unsigned runs = 0;
    std::uint32_t extension = 0;
    if ((flags & 0x08u) && !in.u16v(runs)) {
        error = damaged(QStringLiteral("строка обрывается"));
        return false;
    }
    if ((flags & 0x04u) && !in.u32v(extension)) {
        error = damaged(QStringLiteral("строка обрывается"));
        return false;
    }
    out.clear();
    if (!in.chars(cch, (flags & 1u) != 0, out) ||
        !in.bytes(static_cast<std::size_t>(runs) * 4, nullptr) || !in.bytes(extension, nullptr)) {
        error = damaged(QStringLiteral("строка обрывается"));
        return false;
    }
    return true;
}

// The data of a record and the CONTINUE records right after it.
Segments withContinues(const Record& first, Records& records, QString& error) {
    Segments segments;
    segments.add(first.data);
    Record r;
    while (records.peekType() == kContinue && records.next(r, error)) {
        segments.add(r.data);
    }
    return segments;
}

struct SheetInfo {
    QString name;
    std::uint32_t offset = 0;
};

// Reads one worksheet substream into the workbook's last sheet; shared string i is text i
// of the pool.
QString readSheet(std::string_view stream, const SheetInfo& info, std::uint32_t sstCount,
                  LoadedWorkbook& book, int& cellTotal) {
    if (info.offset >= stream.size()) {
        return damaged(QStringLiteral("лист «%1» вне потока").arg(info.name));
    }
    Records records(stream, info.offset);
    Record r;
    QString error;
    if (!records.next(r, error) || r.type != kBof || r.data.size() < 4) {
        return error.isEmpty() ? damaged(QStringLiteral("нет начала листа «%1»").arg(info.name))
                               : error;
    }
    int depth = 1;
    bool pendingString = false;
    int pendingRow = 0;
    int pendingColumn = 0;

    const auto store = [&](unsigned row, unsigned column, CellValue value) -> QString {
        if (row + 1 > static_cast<unsigned>(kMaxRows) ||
            column + 1 > static_cast<unsigned>(kMaxColumns)) {
            return damaged(QStringLiteral("ячейка за пределами листа"));
        }
        if (value.isNumber() && !std::isfinite(value.toNumber())) {
            return damaged(QStringLiteral("неверное число в ячейке"));
        }
        if (value.isEmpty()) {
            return {};
        }
        if (++cellTotal > rl::kMaxCells) {
            return damaged(QStringLiteral("слишком много ячеек"));
        }
        book.appendCell(static_cast<int>(row) + 1, static_cast<int>(column) + 1, std::move(value));
        return {};
    };

    while (records.next(r, error)) {
        if (r.type == kBof) {
            ++depth;  // an embedded chart's substream
            continue;
        }
        if (r.type == kEof) {
            if (--depth == 0) {
                return {};
            }
            continue;
        }
        if (depth != 1) {
            continue;
        }
        const char* d = r.data.data();
        const std::size_t len = r.data.size();
        const auto tooShort = [&]() { return damaged(QStringLiteral("короткая запись ячейки")); };
        QString e;
        switch (r.type) {
            case kLabelSst: {
                if (len < 10) {
                    return tooShort();
                }
                const std::uint32_t index = u32(d + 6);
                if (index >= sstCount) {
                    return damaged(QStringLiteral("ссылка на несуществующую строку"));
                }
                if (u16(d) + 1 > kMaxRows || u16(d + 2) + 1 > kMaxColumns) {
                    return damaged(QStringLiteral("ячейка за пределами листа"));
                }
                if (++cellTotal > rl::kMaxCells) {
                    return damaged(QStringLiteral("слишком много ячеек"));
                }
                book.appendTextCell(u16(d) + 1, u16(d + 2) + 1, index);
                break;
            }
            case kNumber:
                if (len < 14) {
                    return tooShort();
                }
                e = store(u16(d), u16(d + 2), CellValue::number(f64(d + 6)));
                break;
            case kRk:
                if (len < 10) {
                    return tooShort();
                }
                e = store(u16(d), u16(d + 2), CellValue::number(rkValue(u32(d + 6))));
                break;
            case kMulRk: {
                if (len < 6 || (len - 6) % 6 != 0) {
                    return tooShort();
                }
                const unsigned row = u16(d);
                const unsigned first = u16(d + 2);
                const std::size_t count = (len - 6) / 6;
                for (std::size_t i = 0; i < count && e.isEmpty(); ++i) {
                    e = store(row, first + static_cast<unsigned>(i),
                              CellValue::number(rkValue(u32(d + 4 + 6 * i + 2))));
                }
                break;
            }
            case kBoolErr:
                if (len < 8) {
                    return tooShort();
                }
                e = store(u16(d), u16(d + 2),
                          d[7] != 0 ? CellValue::text(errorText(static_cast<unsigned char>(d[6])))
                                    : CellValue::boolean(d[6] != 0));
                break;
            case kLabel:
            case kRString: {
                if (len < 9) {
                    return tooShort();
                }
                Segments segments;
                segments.add(r.data.substr(6));
                QString text;
                if (!readUnicodeString(segments, text, e)) {
                    return e;
                }
                e = store(u16(d), u16(d + 2), CellValue::text(text));
                break;
            }
            case kFormula: {
                if (len < 20) {
                    return tooShort();
                }
                pendingString = false;
                const unsigned row = u16(d);
                const unsigned column = u16(d + 2);
                const auto* v = reinterpret_cast<const unsigned char*>(d + 6);
                if (v[6] == 0xFF && v[7] == 0xFF) {
                    switch (v[0]) {
                        case 0:  // text, in the STRING record that follows
                            pendingString = true;
                            pendingRow = static_cast<int>(row);
                            pendingColumn = static_cast<int>(column);
                            break;
                        case 1:
                            e = store(row, column, CellValue::boolean(v[2] != 0));
                            break;
                        case 2:
                            e = store(row, column, CellValue::text(errorText(v[2])));
                            break;
                        default:  // an empty text
                            e = store(row, column, CellValue::text(QString()));
                            break;
                    }
                } else {
                    e = store(row, column, CellValue::number(f64(d + 6)));
                }
                continue;
            }
            case kString: {
                Segments segments = withContinues(r, records, e);
                if (!e.isEmpty()) {
                    return e;
                }
                QString text;
                if (!readUnicodeString(segments, text, e)) {
                    return e;
                }
                if (pendingString) {
                    e = store(static_cast<unsigned>(pendingRow),
                              static_cast<unsigned>(pendingColumn), CellValue::text(text));
                }
                pendingString = false;
                continue;
            }
            case kShrFmla:
            case kArray:
            case kTable:
            case kContinue:
                continue;  // may stand between a FORMULA and its STRING
            default:
                break;
        }
        if (!e.isEmpty()) {
            return e;
        }
        pendingString = false;
    }
    return error.isEmpty() ? damaged(QStringLiteral("лист «%1» обрывается").arg(info.name)) : error;
}

}  // namespace

Result<LoadedWorkbook> readXls(const QByteArray& data) {
    using R = Result<LoadedWorkbook>;
    if (data.isEmpty()) {
        return R::failure(QStringLiteral("файл пуст"));
    }
    auto container = CompoundFile::open(data);
    if (!container) {
        return R::failure(container.error());
    }
    const QStringList names = container->streamNames();
    const QString streamName = names.contains(QStringLiteral("Workbook"), Qt::CaseInsensitive)
                                   ? QStringLiteral("Workbook")
                                   : QStringLiteral("Book");
    if (!names.contains(streamName, Qt::CaseInsensitive)) {
        return R::failure(damaged(QStringLiteral("нет потока книги")));
    }
    const auto streamResult = container->readStream(streamName);
    if (!streamResult) {
        return R::failure(streamResult.error());
    }
    const QByteArray& bytes = streamResult.value();
    const std::string_view stream(bytes.constData(), static_cast<std::size_t>(bytes.size()));

    Records records(stream);
    Record r;
    QString error;
    if (!records.next(r, error) || r.type != kBof || r.data.size() < 4) {
        return R::failure(error.isEmpty() ? damaged(QStringLiteral("нет начала книги")) : error);
    }
    if (u16(r.data.data()) != 0x0600) {
        return R::failure(QStringLiteral("файл .xls в устаревшем формате не поддерживается"));
    }

    std::vector<SheetInfo> sheets;
    // Shared strings go straight to the pool, as texts 0, 1, ...
    LoadedWorkbook book;
    std::uint32_t sstCount = 0;
    int sheetRecords = 0;
    bool ended = false;
    while (!ended && records.next(r, error)) {
        switch (r.type) {
            case kFilePass:
                return R::failure(QStringLiteral("файл .xls защищён паролем"));
            case kBoundSheet: {
                if (++sheetRecords > rl::kMaxSheets) {
                    return R::failure(damaged(QStringLiteral("слишком много листов")));
                }
                if (r.data.size() < 8) {
                    return R::failure(damaged(QStringLiteral("короткая запись листа")));
                }
                Segments name;
                name.add(r.data.substr(6));
                unsigned cch = 0;
                unsigned flags = 0;
                QString text;
                if (!name.u8(cch) || !name.u8(flags) || !name.chars(cch, flags & 1u, text)) {
                    return R::failure(damaged(QStringLiteral("неверное имя листа")));
                }
                // Only worksheets are numbered; chart, macro and module sheets are not.
                if (static_cast<unsigned char>(r.data[5]) == 0) {
                    sheets.push_back({text, u32(r.data.data())});
                }
                break;
            }
            case kSst: {
                Segments segments = withContinues(r, records, error);
                if (!error.isEmpty()) {
                    return R::failure(error);
                }
                std::uint32_t total = 0;
                std::uint32_t unique = 0;
                if (!segments.u32v(total) || !segments.u32v(unique)) {
                    return R::failure(damaged(QStringLiteral("короткая таблица строк")));
                }
                // The declared count is only an upper bound: strings are read while there
                // is data, never reserved from it.
                while (sstCount < unique && !segments.atEnd()) {
                    if (sstCount >= static_cast<std::uint32_t>(rl::kMaxSharedStrings)) {
                        return R::failure(damaged(QStringLiteral("слишком много строк")));
                    }
                    QString text;
                    QString e;
                    if (!readUnicodeString(segments, text, e)) {
                        return R::failure(e);
                    }
                    book.addText(std::move(text));
                    ++sstCount;
                }
                break;
            }
            case kEof:
                ended = true;
                break;
            default:
                break;
        }
    }
    if (!error.isEmpty()) {
        return R::failure(error);
    }

    int cellTotal = 0;
    for (const SheetInfo& info : sheets) {
        book.addSheet(info.name);
        if (QString e = readSheet(stream, info, sstCount, book, cellTotal); !e.isEmpty()) {
            return R::failure(e);
        }
    }
    book.finish();
    return R::success(std::move(book));
}

}  // namespace normativ
