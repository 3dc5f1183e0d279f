#include "readxls.h"

#include "xlsbytes.h"

#include "celladdress.h"
#include "compoundfile.h"
#include "readertexts.h"

#include <cmath>
#include <cstring>
#include <optional>
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

Status damagedStatus(const QString& why) {
    return Status::failure(damaged(why));
}

// Records of a stream, each length checked against what is left of the stream.
class Records {
  public:
    explicit Records(std::string_view stream, std::size_t at = 0) : s_(stream), pos_(at) {}
    [[nodiscard]] bool atEnd() const { return pos_ >= s_.size(); }
    // The record at the position, when not atEnd(); refused when it runs past the stream.
    Result<Record> next() {
        using R = Result<Record>;
        if (s_.size() - pos_ < 4) {
            return R::failure(damaged(readerTexts().recordCutShort));
        }
        Record r;
        r.type = u16(s_.data() + pos_);
        const std::size_t len = u16(s_.data() + pos_ + 2);
        if (s_.size() - pos_ - 4 < len) {
            return R::failure(damaged(readerTexts().recordOverStream));
        }
        r.data = s_.substr(pos_ + 4, len);
        pos_ += 4 + len;
        return R::success(r);
    }
    [[nodiscard]] std::uint16_t peekType() const {
        return s_.size() - pos_ >= 4 ? u16(s_.data() + pos_) : std::uint16_t(0);
    }

  private:
    std::string_view s_;
    std::size_t pos_;
};

// The data of a record and its CONTINUE records, read across their boundaries. A string's
// characters re-read the option byte that starts each continuation. Each read is false when
// the data runs out; the caller names the damage.
class Segments {
  public:
    void add(std::string_view data) { segs_.push_back(data); }
    [[nodiscard]] bool atEnd() {
        skipEmpty();
        return seg_ >= segs_.size();
    }
    [[nodiscard]] bool bytes(std::size_t n, std::string* out) {
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
    [[nodiscard]] bool u8(unsigned& v) {
        std::string b;
        if (!bytes(1, &b)) {
            return false;
        }
        v = static_cast<unsigned char>(b[0]);
        return true;
    }
    [[nodiscard]] bool u16v(unsigned& v) {
        std::string b;
        if (!bytes(2, &b)) {
            return false;
        }
        v = u16(b.data());
        return true;
    }
    [[nodiscard]] bool u32v(std::uint32_t& v) {
        std::string b;
        if (!bytes(4, &b)) {
            return false;
        }
        v = u32(b.data());
        return true;
    }
    // `count` characters, 8-bit (Latin-1) or UTF-16 as the option byte says; at each
    // record boundary inside them a new option byte comes first.
    [[nodiscard]] bool chars(unsigned count, bool highByte, QString& out) {
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
Result<QString> readUnicodeString(Segments& in) {
    using R = Result<QString>;
    const ReaderTexts& t = readerTexts();
    unsigned cch = 0;
    unsigned flags = 0;
    if (!in.u16v(cch) || !in.u8(flags)) {
        return R::failure(damaged(t.stringCutShort));
    }
    if (cch > static_cast<unsigned>(kMaxCellTextLength)) {
        return R::failure(damaged(t.textTooLong.arg(kMaxCellTextLength)));
    }
    unsigned runs = 0;
    std::uint32_t extension = 0;
    if (((flags & 0x08u) && !in.u16v(runs)) || ((flags & 0x04u) && !in.u32v(extension))) {
        return R::failure(damaged(t.stringCutShort));
    }
    QString out;
    if (!in.chars(cch, (flags & 1u) != 0, out) ||
        !in.bytes(static_cast<std::size_t>(runs) * 4, nullptr) || !in.bytes(extension, nullptr)) {
        return R::failure(damaged(t.stringCutShort));
    }
    return R::success(std::move(out));
}

// The data of a record and the CONTINUE records right after it.
Result<Segments> withContinues(const Record& first, Records& records) {
    Segments segments;
    segments.add(first.data);
    while (records.peekType() == kContinue) {
        const auto r = records.next();
        if (!r) {
            return Result<Segments>::failure(r.error());
        }
        segments.add(r->data);
    }
    return Result<Segments>::success(std::move(segments));
}

struct SheetInfo {
    QString name;
    std::uint32_t offset = 0;
};

// The workbook globals up to their EOF: the worksheets in order, and the shared strings
// straight into the pool as texts 0, 1, ...
class GlobalsReader {
  public:
    GlobalsReader(Records& records, LoadedWorkbook& book) : records_(records), book_(book) {}

    Status read() {
        while (!records_.atEnd()) {
            const auto r = records_.next();
            if (!r) {
                return Status::failure(r.error());
            }
            if (r->type == kEof) {
                break;
            }
            if (Status s = onRecord(*r); !s) {
                return s;
            }
        }
        return Status::success();
    }

    const std::vector<SheetInfo>& sheets() const { return sheets_; }
    std::uint32_t stringCount() const { return sstCount_; }

  private:
    Status onRecord(const Record& r) {
        switch (r.type) {
            case kFilePass:
                return Status::failure(readerTexts().xlsPasswordProtected);
            case kBoundSheet:
                return onBoundSheet(r);
            case kSst:
                return onSst(r);
            default:
                return Status::success();
        }
    }

    Status onBoundSheet(const Record& r) {
        const ReaderTexts& t = readerTexts();
        if (++sheetRecords_ > rl::kMaxSheets) {
            return damagedStatus(t.tooManySheets);
        }
        if (r.data.size() < 8) {
            return damagedStatus(t.shortSheetRecord);
        }
        Segments name;
        name.add(r.data.substr(6));
        unsigned cch = 0;
        unsigned flags = 0;
        QString text;
        if (!name.u8(cch) || !name.u8(flags) || !name.chars(cch, flags & 1u, text)) {
            return damagedStatus(t.badSheetName);
        }
        // Only worksheets are numbered; chart, macro and module sheets are not.
        if (static_cast<unsigned char>(r.data[5]) == 0) {
            sheets_.push_back({text, u32(r.data.data())});
        }
        return Status::success();
    }

    Status onSst(const Record& r) {
        const ReaderTexts& t = readerTexts();
        auto segments = withContinues(r, records_);
        if (!segments) {
            return Status::failure(segments.error());
        }
        std::uint32_t total = 0;
        std::uint32_t unique = 0;
        if (!segments->u32v(total) || !segments->u32v(unique)) {
            return damagedStatus(t.shortStringTable);
        }
        // The declared count is only an upper bound: strings are read while there is
        // data, never reserved from it.
        while (sstCount_ < unique && !segments->atEnd()) {
            if (sstCount_ >= static_cast<std::uint32_t>(rl::kMaxSharedStrings)) {
                return damagedStatus(t.tooManyStrings);
            }
            auto text = readUnicodeString(*segments);
            if (!text) {
                return Status::failure(text.error());
            }
            book_.addText(std::move(*text));
            ++sstCount_;
        }
        return Status::success();
    }

    Records& records_;
    LoadedWorkbook& book_;
    std::vector<SheetInfo> sheets_;
    std::uint32_t sstCount_ = 0;
    int sheetRecords_ = 0;
};

// One worksheet substream into the workbook's last sheet: a dispatcher over its records
// and a handler per cell record. Shared string i is text i of the pool.
class SheetReader {
  public:
    SheetReader(std::string_view stream, const SheetInfo& info, std::uint32_t sstCount,
                LoadedWorkbook& book, int& cellTotal)
        : stream_(stream),
          info_(info),
          records_(stream, info.offset),
          sstCount_(sstCount),
          book_(book),
          cellTotal_(cellTotal) {}

    Status read() {
        const ReaderTexts& t = readerTexts();
        if (info_.offset >= stream_.size()) {
            return damagedStatus(t.sheetOutsideStream.arg(info_.name));
        }
        const auto bof = records_.next();
        if (!bof) {
            return Status::failure(bof.error());
        }
        if (bof->type != kBof || bof->data.size() < 4) {
            return damagedStatus(t.noSheetStart.arg(info_.name));
        }
        int depth = 1;
        while (!records_.atEnd()) {
            const auto r = records_.next();
            if (!r) {
                return Status::failure(r.error());
            }
            if (r->type == kBof) {
                ++depth;  // an embedded chart's substream
                continue;
            }
            if (r->type == kEof) {
                if (--depth == 0) {
                    return Status::success();
                }
                continue;
            }
            if (depth != 1) {
                continue;
            }
            if (Status s = onRecord(*r); !s) {
                return s;
            }
        }
        return damagedStatus(t.sheetCutShort.arg(info_.name));
    }

  private:
    struct Position {
        unsigned row = 0;
        unsigned column = 0;
    };

    Status onRecord(const Record& r) {
        switch (r.type) {
            case kFormula:
                return onFormula(r);
            case kString:
                return onString(r);
            case kShrFmla:
            case kArray:
            case kTable:
            case kContinue:
                return Status::success();  // may stand between a FORMULA and its STRING
            default:
                break;
        }
        // A text formula's STRING comes before any other record: past one, none is coming.
        pendingString_.reset();
        switch (r.type) {
            case kLabelSst:
                return onLabelSst(r);
            case kNumber:
                return onNumber(r);
            case kRk:
                return onRk(r);
            case kMulRk:
                return onMulRk(r);
            case kBoolErr:
                return onBoolErr(r);
            case kLabel:
            case kRString:
                return onLabel(r);
            default:
                return Status::success();
        }
    }

    static Status tooShort() { return damagedStatus(readerTexts().shortCellRecord); }
    static Position positionOf(const Record& r) {
        return {u16(r.data.data()), u16(r.data.data() + 2)};
    }

    Status onLabelSst(const Record& r) {
        if (r.data.size() < 10) {
            return tooShort();
        }
        const std::uint32_t index = u32(r.data.data() + 6);
        if (index >= sstCount_) {
            return damagedStatus(readerTexts().missingString);
        }
        const Position at = positionOf(r);
        if (Status s = within(at); !s) {
            return s;
        }
        if (Status s = countCell(); !s) {
            return s;
        }
        book_.appendTextCell(static_cast<int>(at.row) + 1, static_cast<int>(at.column) + 1, index);
        return Status::success();
    }

    Status onNumber(const Record& r) {
        if (r.data.size() < 14) {
            return tooShort();
        }
        return store(positionOf(r), CellValue::number(f64(r.data.data() + 6)));
    }

    Status onRk(const Record& r) {
        if (r.data.size() < 10) {
            return tooShort();
        }
        return store(positionOf(r), CellValue::number(rkValue(u32(r.data.data() + 6))));
    }

    // Row, first column, then an (XF index, RK value) pair per column, then the last column.
    Status onMulRk(const Record& r) {
        const std::size_t len = r.data.size();
        if (len < 6 || (len - 6) % 6 != 0) {
            return tooShort();
        }
        const Position first = positionOf(r);
        const std::size_t count = (len - 6) / 6;
        for (std::size_t i = 0; i < count; ++i) {
            const Position at{first.row, first.column + static_cast<unsigned>(i)};
            const double value = rkValue(u32(r.data.data() + 4 + 6 * i + 2));
            if (Status s = store(at, CellValue::number(value)); !s) {
                return s;
            }
        }
        return Status::success();
    }

    Status onBoolErr(const Record& r) {
        if (r.data.size() < 8) {
            return tooShort();
        }
        const unsigned char value = static_cast<unsigned char>(r.data[6]);
        const bool isError = r.data[7] != 0;
        return store(positionOf(r),
                     isError ? CellValue::text(errorText(value)) : CellValue::boolean(value != 0));
    }

    // LABEL and RSTRING: the text right in the record (an RSTRING's runs are not read).
    Status onLabel(const Record& r) {
        if (r.data.size() < 9) {
            return tooShort();
        }
        Segments segments;
        segments.add(r.data.substr(6));
        auto text = readUnicodeString(segments);
        if (!text) {
            return Status::failure(text.error());
        }
        return store(positionOf(r), CellValue::text(std::move(*text)));
    }

    // The stored result: a number, or after the 0xFFFF marker a text (in the STRING
    // record to follow), a boolean, an error or an empty text.
    Status onFormula(const Record& r) {
        if (r.data.size() < 20) {
            return tooShort();
        }
        pendingString_.reset();
        const Position at = positionOf(r);
        const auto* v = reinterpret_cast<const unsigned char*>(r.data.data() + 6);
        if (v[6] != 0xFF || v[7] != 0xFF) {
            return store(at, CellValue::number(f64(r.data.data() + 6)));
        }
        switch (v[0]) {
            case 0:
                pendingString_ = at;
                return Status::success();
            case 1:
                return store(at, CellValue::boolean(v[2] != 0));
            case 2:
                return store(at, CellValue::text(errorText(v[2])));
            default:
                return store(at, CellValue::text(QString()));
        }
    }

    // The text result of the FORMULA before it, across CONTINUE records.
    Status onString(const Record& r) {
        auto segments = withContinues(r, records_);
        if (!segments) {
            return Status::failure(segments.error());
        }
        auto text = readUnicodeString(*segments);
        if (!text) {
            return Status::failure(text.error());
        }
        const std::optional<Position> at = pendingString_;
        pendingString_.reset();
        return at ? store(*at, CellValue::text(std::move(*text))) : Status::success();
    }

    static Status within(Position at) {
        if (at.row + 1 > static_cast<unsigned>(kMaxRows) ||
            at.column + 1 > static_cast<unsigned>(kMaxColumns)) {
            return damagedStatus(readerTexts().cellOutsideSheet);
        }
        return Status::success();
    }

    Status countCell() {
        if (++cellTotal_ > rl::kMaxCells) {
            return damagedStatus(readerTexts().tooManyCells);
        }
        return Status::success();
    }

    Status store(Position at, const CellValue& value) {
        if (Status s = within(at); !s) {
            return s;
        }
        if (value.isNumber() && !std::isfinite(value.toNumber())) {
            return damagedStatus(readerTexts().badNumber);
        }
        if (Status s = countCell(); !s) {
            return s;
        }
        book_.appendCell(static_cast<int>(at.row) + 1, static_cast<int>(at.column) + 1, value);
        return Status::success();
    }

    std::string_view stream_;
    const SheetInfo& info_;
    Records records_;
    std::uint32_t sstCount_;
    LoadedWorkbook& book_;
    int& cellTotal_;
    // The cell of a text FORMULA waiting for its STRING record.
    std::optional<Position> pendingString_;
};

}  // namespace

Result<LoadedWorkbook> readXls(const QByteArray& data) {
    using R = Result<LoadedWorkbook>;
    const ReaderTexts& t = readerTexts();
    if (data.isEmpty()) {
        return R::failure(t.emptyFile);
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
        return R::failure(damaged(t.noWorkbookStream));
    }
    const auto streamResult = container->readStream(streamName);
    if (!streamResult) {
        return R::failure(streamResult.error());
    }
    const QByteArray& bytes = streamResult.value();
    const std::string_view stream(bytes.constData(), static_cast<std::size_t>(bytes.size()));

    Records records(stream);
    if (records.atEnd()) {
        return R::failure(damaged(t.noWorkbookStart));
    }
    const auto bof = records.next();
    if (!bof) {
        return R::failure(bof.error());
    }
    if (bof->type != kBof || bof->data.size() < 4) {
        return R::failure(damaged(t.noWorkbookStart));
    }
    if (u16(bof->data.data()) != 0x0600) {
        return R::failure(t.xlsOldFormat);
    }

    LoadedWorkbook book;
    GlobalsReader globals(records, book);
    if (Status s = globals.read(); !s) {
        return R::failure(s.error());
    }
    int cellTotal = 0;
    for (const SheetInfo& info : globals.sheets()) {
        book.addSheet(info.name);
        SheetReader sheet(stream, info, globals.stringCount(), book, cellTotal);
        if (Status s = sheet.read(); !s) {
            return R::failure(s.error());
        }
    }
    book.finish();
    return R::success(std::move(book));
}

}  // namespace normativ
