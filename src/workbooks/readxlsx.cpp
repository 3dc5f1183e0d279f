#include "readxlsx.h"

#include "celladdress.h"
#include "readertexts.h"
#include "xmlpullreader.h"

#include <zip.h>

#include <charconv>
#include <cmath>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>

namespace normativ {

namespace rl = readlimits;

namespace {

using Token = XmlPullReader::Token;

QString damaged(const QString& why) {
    return readerTexts().xlsxDamaged.arg(why);
}

Status damagedStatus(const QString& why) {
    return Status::failure(damaged(why));
}

QString partName(const std::string& part) {
    return QString::fromStdString(part);
}

bool endsWith(std::string_view s, std::string_view tail) {
    return s.size() >= tail.size() && s.substr(s.size() - tail.size()) == tail;
}

std::string lowerAscii(std::string_view s) {
    std::string out(s);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return out;
}

std::string_view trimmed(std::string_view s) {
    while (!s.empty() &&
           (s.front() == ' ' || s.front() == '\t' || s.front() == '\n' || s.front() == '\r')) {
        s.remove_prefix(1);
    }
    while (!s.empty() &&
           (s.back() == ' ' || s.back() == '\t' || s.back() == '\n' || s.back() == '\r')) {
        s.remove_suffix(1);
    }
    return s;
}

// The zip container over the caller's buffer, with the caps counted on bytes inflated.
class Package {
  public:
    ~Package() {
        if (archive_ != nullptr) {
            zip_discard(archive_);
        }
    }

    Status open(const QByteArray& data) {
        const ReaderTexts& t = readerTexts();
        zip_error_t error;
        zip_error_init(&error);
        zip_source_t* source = zip_source_buffer_create(
            data.constData(), static_cast<zip_uint64_t>(data.size()), 0, &error);
        if (source == nullptr) {
            zip_error_fini(&error);
            return damagedStatus(t.archiveUnreadable);
        }
        archive_ = zip_open_from_source(source, ZIP_RDONLY, &error);
        zip_error_fini(&error);
        if (archive_ == nullptr) {
            zip_source_free(source);
            return damagedStatus(t.archiveUnreadable);
        }
        const zip_int64_t count = zip_get_num_entries(archive_, 0);
        if (count < 0 || count > rl::kMaxZipEntries) {
            return damagedStatus(t.tooManyParts);
        }
        for (zip_int64_t i = 0; i < count; ++i) {
            if (Status s = indexEntry(static_cast<zip_uint64_t>(i)); !s) {
                return s;
            }
        }
        return Status::success();
    }

    bool contains(const std::string& part) const { return index_.count(lowerAscii(part)) != 0; }

    // The inflated bytes of a part.
    Result<std::string> read(const std::string& part) {
        using R = Result<std::string>;
        const ReaderTexts& t = readerTexts();
        const auto it = index_.find(lowerAscii(part));
        if (it == index_.end()) {
            return R::failure(damaged(t.missingPart.arg(partName(part))));
        }
        zip_stat_t st;
        zip_stat_init(&st);
        if (zip_stat_index(archive_, it->second, 0, &st) != 0) {
            return R::failure(damaged(t.archiveUnreadable));
        }
        const std::int64_t compressed =
            (st.valid & ZIP_STAT_COMP_SIZE) ? static_cast<std::int64_t>(st.comp_size) : 0;
        std::string out;
        if ((st.valid & ZIP_STAT_SIZE) && st.size > 0) {
            // Only a hint for the first allocation; what counts is what inflates.
            out.reserve(static_cast<std::size_t>(
                std::min<zip_uint64_t>(st.size, static_cast<zip_uint64_t>(rl::kMaxPartSize))));
        }
        zip_file_t* file = zip_fopen_index(archive_, it->second, 0);
        if (file == nullptr) {
            return R::failure(damaged(t.partUnreadable.arg(partName(part))));
        }
        std::unique_ptr<zip_file_t, int (*)(zip_file_t*)> guard(file, zip_fclose);
        char chunk[64 * 1024];
        for (;;) {
            const zip_int64_t n = zip_fread(file, chunk, sizeof chunk);
            if (n < 0) {
                return R::failure(damaged(t.partUnreadable.arg(partName(part))));
            }
            if (n == 0) {
                break;
            }
            const auto size = static_cast<std::int64_t>(out.size()) + n;
            inflated_ += n;
            if (size > rl::kMaxPartSize) {
                return R::failure(damaged(t.partTooLarge.arg(partName(part))));
            }
            if (inflated_ > rl::kMaxInflatedTotal) {
                return R::failure(damaged(t.inflatedTooLarge));
            }
            if (size > rl::kRatioCheckedFrom &&
                size > rl::kMaxInflationRatio * std::max<std::int64_t>(compressed, 1)) {
                return R::failure(damaged(t.partOverCompressed.arg(partName(part))));
            }
            out.append(chunk, static_cast<std::size_t>(n));
        }
        return R::success(std::move(out));
    }

  private:
    // Entry `index` into the index by its lower-case name, once it is checked.
    Status indexEntry(zip_uint64_t index) {
        const ReaderTexts& t = readerTexts();
        const char* rawName = zip_get_name(archive_, index, ZIP_FL_ENC_RAW);
        zip_stat_t st;
        zip_stat_init(&st);
        if (rawName == nullptr || zip_stat_index(archive_, index, ZIP_FL_ENC_RAW, &st) != 0) {
            return damagedStatus(t.archiveUnreadable);
        }
        if ((st.valid & ZIP_STAT_ENCRYPTION_METHOD) && st.encryption_method != ZIP_EM_NONE) {
            return Status::failure(t.xlsxEncrypted);
        }
        const std::string_view name(rawName);
        if (!safeName(name)) {
            return damagedStatus(t.badPartName.arg(
                QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()))));
        }
        if (!index_.emplace(lowerAscii(name), index).second) {
            return damagedStatus(t.duplicatePart);
        }
        return Status::success();
    }

    static bool safeName(std::string_view name) {
        if (name.empty() || name.front() == '/' || name.front() == '\\' ||
            (name.size() >= 2 && name[1] == ':')) {
            return false;
        }
        std::size_t start = 0;
        while (start <= name.size()) {
            auto end = name.find_first_of("/\\", start);
            if (end == std::string_view::npos) {
                end = name.size();
            }
            if (name.substr(start, end - start) == "..") {
                return false;
            }
            start = end + 1;
        }
        return name.find('\0') == std::string_view::npos;
    }

    zip_t* archive_ = nullptr;
    std::unordered_map<std::string, zip_uint64_t> index_;
    std::int64_t inflated_ = 0;
};

struct Relationship {
    std::string type;
    std::string target;  // a part name inside the package; empty when it points outside
};

// Resolves a relationship target against the folder of the part that holds it; empty when
// it leaves the package.
std::string resolveTarget(const std::string& sourceFolder, std::string_view target) {
    std::string decoded;
    for (std::size_t i = 0; i < target.size(); ++i) {
        const auto hex = [](char c) {
            return (c >= '0' && c <= '9')   ? c - '0'
                   : (c >= 'a' && c <= 'f') ? c - 'a' + 10
                   : (c >= 'A' && c <= 'F') ? c - 'A' + 10
                                            : -1;
        };
        if (target[i] == '%' && i + 2 < target.size() && hex(target[i + 1]) >= 0 &&
            hex(target[i + 2]) >= 0) {
            decoded.push_back(static_cast<char>(hex(target[i + 1]) * 16 + hex(target[i + 2])));
            i += 2;
        } else {
            decoded.push_back(target[i]);
        }
    }
    std::string path =
        (!decoded.empty() && decoded.front() == '/') ? decoded.substr(1) : sourceFolder + decoded;
    std::vector<std::string> segments;
    std::size_t start = 0;
    while (start <= path.size()) {
        auto end = path.find('/', start);
        if (end == std::string::npos) {
            end = path.size();
        }
        const std::string segment = path.substr(start, end - start);
        if (segment == "..") {
            if (segments.empty()) {
                return {};
            }
            segments.pop_back();
        } else if (!segment.empty() && segment != ".") {
            segments.push_back(segment);
        }
        start = end + 1;
    }
    std::string out;
    for (const auto& s : segments) {
        out += (out.empty() ? "" : "/") + s;
    }
    return out;
}

std::string folderOf(const std::string& part) {
    const auto slash = part.rfind('/');
    return slash == std::string::npos ? std::string() : part.substr(0, slash + 1);
}

std::string relationshipsPartOf(const std::string& part) {
    const auto slash = part.rfind('/');
    const std::string name = slash == std::string::npos ? part : part.substr(slash + 1);
    return folderOf(part) + "_rels/" + name + ".rels";
}

using Relationships = std::map<std::string, Relationship>;

// A part's reader, refused as damage when it is not UTF-8. The XML must outlive it.
Result<XmlPullReader> xmlReader(const std::string& xml) {
    auto reader = XmlPullReader::open(xml, rl::kMaxXmlDepth);
    if (!reader) {
        return Result<XmlPullReader>::failure(damaged(reader.error()));
    }
    return reader;
}

// Calls `onElement` at every start of an element `name` at `depth`, in document order,
// to the end of the document; the first failure ends the walk.
template <typename OnElement>
Status forEachElement(XmlPullReader& reader, std::string_view name, int depth,
                      OnElement onElement) {
    for (;;) {
        const auto t = reader.next();
        if (!t) {
            return damagedStatus(t.error());
        }
        if (*t == Token::EndOfDocument) {
            return Status::success();
        }
        if (*t != Token::StartElement || reader.name() != name || reader.depth() != depth) {
            continue;
        }
        if (Status handled = onElement(); !handled) {
            return handled;
        }
    }
}

// The relationships of a part, by id, their targets resolved against the part's folder.
Result<Relationships> readRelationships(Package& package, const std::string& part) {
    using R = Result<Relationships>;
    const auto xml = package.read(relationshipsPartOf(part));
    if (!xml) {
        return R::failure(xml.error());
    }
    auto reader = xmlReader(*xml);
    if (!reader) {
        return R::failure(reader.error());
    }
    const std::string folder = folderOf(part);
    Relationships rels;
    std::string id, type, target, mode;
    int count = 0;
    const Status read = forEachElement(*reader, "Relationship", 2, [&] {
        if (++count > rl::kMaxZipEntries * 4) {
            return damagedStatus(readerTexts().tooManyRelationships);
        }
        if (!reader->attribute("Id", id) || !reader->attribute("Type", type) ||
            !reader->attribute("Target", target)) {
            return Status::success();
        }
        const bool external = reader->attribute("TargetMode", mode) && mode == "External";
        rels.emplace(id,
                     Relationship{type, external ? std::string() : resolveTarget(folder, target)});
        return Status::success();
    });
    if (!read) {
        return R::failure(read.error());
    }
    return R::success(std::move(rels));
}

// The length in UTF-16 units `utf8` has once its "_xHHHH_" escapes are decoded: what
// decodeXmlEscapes(QString::fromUtf8(utf8)).size() gives, without building the string.
std::size_t decodedLength(std::string_view utf8) {
    std::size_t units = 0;
    for (const char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        // Continuation bytes add nothing; a four-byte character takes two units.
        units += (byte & 0xC0) == 0x80 ? 0 : (byte >= 0xF0 ? 2 : 1);
    }
    const auto isHex = [](char c) {
        return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
    };
    // The escapes are ASCII, found as decodeXmlEscapes finds them: left to right, each
    // seven characters becoming one.
    for (std::size_t i = utf8.find("_x"); i != std::string_view::npos; i = utf8.find("_x", i)) {
        if (i + 6 < utf8.size() && utf8[i + 6] == '_' && isHex(utf8[i + 2]) && isHex(utf8[i + 3]) &&
            isHex(utf8[i + 4]) && isHex(utf8[i + 5])) {
            units -= 6;
            i += 7;
        } else {
            ++i;
        }
    }
    return units;
}

// Text of <t> elements under the current element (<si> or <is>), rich text runs joined
// and phonetic runs (<rPh>) skipped, in UTF-8 with its "_xHHHH_" escapes (the workbook
// decodes them when the text is read); the reader is left after the element's end.
Result<std::string> readRichText(XmlPullReader& reader) {
    using R = Result<std::string>;
    const int baseDepth = reader.depth();
    std::string text;
    int skipFrom = 0;  // depth of an <rPh> being skipped
    bool inT = false;
    for (;;) {
        const auto t = reader.next();
        if (!t) {
            return R::failure(damaged(t.error()));
        }
        if (*t == Token::EndOfDocument) {
            // The element's end comes first.
            return R::failure(damaged(readerTexts().xmlCutShort));
        }
        if (*t == Token::StartElement) {
            if (skipFrom == 0 && reader.name() == "rPh") {
                skipFrom = reader.depth();
            }
            inT = skipFrom == 0 && reader.name() == "t";
        } else if (*t == Token::EndElement) {
            if (reader.depth() < baseDepth) {
                break;
            }
            if (skipFrom != 0 && reader.depth() < skipFrom) {
                skipFrom = 0;
            }
            inT = false;
        } else if (inT) {
            text += reader.text();
            if (text.size() > static_cast<std::size_t>(kMaxCellTextLength) * 4) {
                return R::failure(damaged(readerTexts().textTooLong.arg(kMaxCellTextLength)));
            }
        }
    }
    if (decodedLength(text) > static_cast<std::size_t>(kMaxCellTextLength)) {
        return R::failure(damaged(readerTexts().textTooLong.arg(kMaxCellTextLength)));
    }
    return R::success(std::move(text));
}

// Adds the shared strings to the workbook's text pool, counting them in `count`.
Status readSharedStrings(Package& package, const std::string& part, LoadedWorkbook& book,
                         int& count) {
    const auto xml = package.read(part);
    if (!xml) {
        return Status::failure(xml.error());
    }
    auto reader = xmlReader(*xml);
    if (!reader) {
        return Status::failure(reader.error());
    }
    return forEachElement(*reader, "si", 2, [&] {
        if (count >= rl::kMaxSharedStrings) {
            return damagedStatus(readerTexts().tooManyStrings);
        }
        auto text = readRichText(*reader);
        if (!text) {
            return Status::failure(text.error());
        }
        book.addPackageText(std::move(*text));
        ++count;
        return Status::success();
    });
}

std::optional<double> parseNumber(std::string_view s) {
    s = trimmed(s);
    if (!s.empty() && s.front() == '+') {
        s.remove_prefix(1);
    }
    double value = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
    if (s.empty() || end != s.data() + s.size()) {
        return std::nullopt;
    }
    if (ec == std::errc::result_out_of_range &&
        (s.find("e-") != std::string_view::npos || s.find("E-") != std::string_view::npos)) {
        return 0.0;  // too small for a double: a spreadsheet shows 0 too
    }
    if (ec != std::errc() || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

std::optional<int> parseIndex(std::string_view s, int limit) {
    s = trimmed(s);
    int value = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
    if (s.empty() || ec != std::errc() || end != s.data() + s.size() || value < 0 ||
        value > limit) {
        return std::nullopt;
    }
    return value;
}

// One worksheet's cells into the workbook's last sheet: a dispatcher over the tokens of
// <sheetData> and a handler per element (row, c, v, is) and per cell type. Shared string
// i is text sharedBase + i of the pool.
class SheetReader {
  public:
    SheetReader(XmlPullReader& reader, std::uint32_t sharedBase, int sharedCount,
                LoadedWorkbook& book, int& cellTotal)
        : reader_(reader),
          sharedBase_(sharedBase),
          sharedCount_(sharedCount),
          book_(book),
          cellTotal_(cellTotal) {}

    Status read() {
        for (;;) {
            const auto token = reader_.next();
            if (!token) {
                return damagedStatus(token.error());
            }
            if (*token == Token::EndOfDocument) {
                return Status::success();
            }
            if (Status s = onToken(*token); !s) {
                return s;
            }
        }
    }

  private:
    Status onToken(Token token) {
        switch (token) {
            case Token::StartElement:
                return onStart();
            case Token::Text:
                return onText();
            case Token::EndElement:
                return onEnd();
            case Token::EndOfDocument:
                break;
        }
        return Status::success();
    }

    Status onStart() {
        const std::string_view name = reader_.name();
        if (sheetDataDepth_ == 0) {
            if (name == "sheetData" && reader_.depth() == 2) {
                sheetDataDepth_ = reader_.depth();
            }
            return Status::success();
        }
        const int level = reader_.depth() - sheetDataDepth_;  // 1 row, 2 c, 3 v or is
        if (!inCell_ && name == "row" && level == 1) {
            return onRow();
        }
        if (!inCell_ && name == "c" && level == 2) {
            return onCell();
        }
        if (inCell_ && name == "v" && level == 3) {
            inValue_ = true;
            haveValue_ = true;
            return Status::success();
        }
        if (inCell_ && name == "is" && level == 3) {
            return onInlineString();
        }
        return Status::success();
    }

    Status onEnd() {
        if (sheetDataDepth_ != 0 && reader_.depth() < sheetDataDepth_) {
            sheetDataDepth_ = 0;
            return Status::success();
        }
        if (inValue_ && reader_.name() == "v") {
            inValue_ = false;
            return Status::success();
        }
        if (!inCell_ || reader_.name() != "c" || reader_.depth() != sheetDataDepth_ + 1) {
            return Status::success();
        }
        inCell_ = false;
        return onCellEnd();
    }

    // A row without r follows the previous one.
    Status onRow() {
        const ReaderTexts& t = readerTexts();
        if (reader_.attribute("r", attr_)) {
            const auto r = parseIndex(attr_, kMaxRows);
            if (!r || *r < 1) {
                return damagedStatus(t.badRowNumber);
            }
            row_ = *r;
        } else {
            ++row_;
        }
        if (row_ > kMaxRows) {
            return damagedStatus(t.rowOutsideSheet);
        }
        column_ = 0;
        return Status::success();
    }

    // A cell without r follows the previous one in its row.
    Status onCell() {
        const ReaderTexts& t = readerTexts();
        if (reader_.attribute("r", attr_)) {
            const auto ref = parseCellRef(std::string_view(attr_));
            if (!ref) {
                return damagedStatus(t.badCellAddress.arg(
                    QString::fromUtf8(attr_.data(), qsizetype(attr_.size())).left(32)));
            }
            cellRow_ = ref->row;
            cellColumn_ = ref->column;
        } else {
            cellRow_ = std::max(row_, 1);
            cellColumn_ = column_ + 1;
            if (cellColumn_ > kMaxColumns) {
                return damagedStatus(t.cellOutsideSheet);
            }
        }
        column_ = cellColumn_;
        inCell_ = true;
        if (!reader_.attribute("t", type_)) {
            type_.clear();
        }
        value_.clear();
        haveValue_ = false;
        haveInline_ = false;
        inlineText_.clear();
        return Status::success();
    }

    Status onInlineString() {
        auto text = readRichText(reader_);
        if (!text) {
            return Status::failure(text.error());
        }
        inlineText_ = std::move(*text);
        haveInline_ = true;
        return Status::success();
    }

    Status onText() {
        if (!inValue_) {
            return Status::success();
        }
        value_ += reader_.text();
        if (value_.size() > static_cast<std::size_t>(kMaxCellTextLength) * 4) {
            return damagedStatus(readerTexts().textTooLong.arg(kMaxCellTextLength));
        }
        return Status::success();
    }

    Status onCellEnd() {
        if (type_ == "s") {
            return storeSharedString();
        }
        if (type_ == "inlineStr" && haveInline_) {
            return storeInlineString();
        }
        const auto cell = cellValue();
        if (!cell) {
            return Status::failure(cell.error());
        }
        return store(*cell);
    }

    // The value of a cell of any type but a shared string; Empty without a value.
    Result<CellValue> cellValue() const {
        using R = Result<CellValue>;
        if (type_ == "inlineStr") {
            return R::success(haveValue_ ? CellValue::text(decodedValue()) : CellValue());
        }
        if (type_ == "b") {
            return booleanValue();
        }
        if (type_ == "str" || type_ == "e" || type_ == "d") {
            // A formula's text result, an error value (#DIV/0! ...) as the user sees it, or
            // an ISO date: text.
            return R::success(haveValue_ ? CellValue::text(decodedValue()) : CellValue());
        }
        if (type_.empty() || type_ == "n") {
            return numberValue();
        }
        return R::failure(damaged(readerTexts().unknownCellType));
    }

    QString decodedValue() const { return decodeXmlEscapes(QString::fromStdString(value_)); }

    Result<CellValue> booleanValue() const {
        using R = Result<CellValue>;
        if (!haveValue_) {
            return R::success(CellValue());
        }
        const std::string_view v = trimmed(value_);
        if (v == "1" || v == "true") {
            return R::success(CellValue::boolean(true));
        }
        if (v == "0" || v == "false") {
            return R::success(CellValue::boolean(false));
        }
        return R::failure(damaged(readerTexts().badBoolean));
    }

    Result<CellValue> numberValue() const {
        using R = Result<CellValue>;
        if (!haveValue_ || trimmed(value_).empty()) {
            return R::success(CellValue());
        }
        const auto number = parseNumber(value_);
        if (!number) {
            return R::failure(damaged(readerTexts().badNumber));
        }
        return R::success(CellValue::number(*number));
    }

    Status storeSharedString() {
        const ReaderTexts& t = readerTexts();
        if (!haveValue_) {
            return Status::success();
        }
        const auto index = parseIndex(value_, rl::kMaxSharedStrings);
        if (!index || *index >= sharedCount_) {
            return damagedStatus(t.missingString);
        }
        if (++cellTotal_ > rl::kMaxCells) {
            return damagedStatus(t.tooManyCells);
        }
        book_.appendTextCell(cellRow_, cellColumn_,
                             sharedBase_ + static_cast<std::uint32_t>(*index));
        return Status::success();
    }

    // An inline string, kept as the package holds it (its length is checked).
    Status storeInlineString() {
        if (++cellTotal_ > rl::kMaxCells) {
            return damagedStatus(readerTexts().tooManyCells);
        }
        book_.appendTextCell(cellRow_, cellColumn_, book_.addPackageText(std::move(inlineText_)));
        return Status::success();
    }

    Status store(const CellValue& cell) {
        const ReaderTexts& t = readerTexts();
        if (cell.isText() && cell.toText().size() > kMaxCellTextLength) {
            return damagedStatus(t.textTooLong.arg(kMaxCellTextLength));
        }
        if (cell.isEmpty()) {
            return Status::success();
        }
        if (++cellTotal_ > rl::kMaxCells) {
            return damagedStatus(t.tooManyCells);
        }
        book_.appendCell(cellRow_, cellColumn_, cell);
        return Status::success();
    }

    XmlPullReader& reader_;
    const std::uint32_t sharedBase_;
    const int sharedCount_;
    LoadedWorkbook& book_;
    int& cellTotal_;
    int sheetDataDepth_ = 0;
    int row_ = 0;
    int column_ = 0;
    std::string attr_;
    // The cell being read.
    bool inCell_ = false;
    int cellRow_ = 0;
    int cellColumn_ = 0;
    std::string type_;
    std::string value_;
    bool haveValue_ = false;
    bool inValue_ = false;
    std::string inlineText_;
    bool haveInline_ = false;
};

Status readSheet(Package& package, const std::string& part, std::uint32_t sharedBase,
                 int sharedCount, LoadedWorkbook& book, int& cellTotal) {
    const auto xml = package.read(part);
    if (!xml) {
        return Status::failure(xml.error());
    }
    auto reader = xmlReader(*xml);
    if (!reader) {
        return Status::failure(reader.error());
    }
    return SheetReader(*reader, sharedBase, sharedCount, book, cellTotal).read();
}

// The sheets in workbook order: (name, relationship id).
Result<std::vector<std::pair<QString, std::string>>> readSheetList(Package& package,
                                                                   const std::string& part) {
    using R = Result<std::vector<std::pair<QString, std::string>>>;
    const ReaderTexts& texts = readerTexts();
    const auto xml = package.read(part);
    if (!xml) {
        return R::failure(xml.error());
    }
    auto reader = xmlReader(*xml);
    if (!reader) {
        return R::failure(reader.error());
    }
    std::vector<std::pair<QString, std::string>> sheets;
    std::string name;
    std::string id;
    const Status read = forEachElement(*reader, "sheet", 3, [&] {
        if (static_cast<int>(sheets.size()) >= rl::kMaxSheets) {
            return damagedStatus(texts.tooManySheets);
        }
        if (!reader->attribute("id", id)) {
            return damagedStatus(texts.sheetWithoutRelationship);
        }
        if (!reader->attribute("name", name)) {
            name.clear();
        }
        sheets.emplace_back(QString::fromStdString(name), id);
        return Status::success();
    });
    if (!read) {
        return R::failure(read.error());
    }
    return R::success(std::move(sheets));
}

bool isWorksheetType(std::string_view type) {
    return endsWith(type, "/worksheet");
}

bool isOtherSheetType(std::string_view type) {
    return endsWith(type, "/chartsheet") || endsWith(type, "/dialogsheet") ||
           endsWith(type, "/macrosheet") || endsWith(type, "/xlMacrosheet") ||
           endsWith(type, "/xlIntlMacrosheet");
}

}  // namespace

QString decodeXmlEscapes(const QString& text) {
    if (!text.contains(QLatin1String("_x"))) {
        return text;
    }
    QString out;
    out.reserve(text.size());
    const auto hexValue = [](QChar c) {
        const char16_t u = c.unicode();
        return (u >= u'0' && u <= u'9')   ? u - u'0'
               : (u >= u'a' && u <= u'f') ? u - u'a' + 10
               : (u >= u'A' && u <= u'F') ? u - u'A' + 10
                                          : -1;
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) == u'_' && i + 6 < text.size() && text.at(i + 1) == u'x' &&
            text.at(i + 6) == u'_') {
            int code = 0;
            bool hex = true;
            for (int k = 2; k <= 5; ++k) {
                const int d = hexValue(text.at(i + k));
                hex = hex && d >= 0;
                code = code * 16 + d;
            }
            if (hex) {
                out += QChar(static_cast<char16_t>(code));
                i += 6;
                continue;
            }
        }
        out += text.at(i);
    }
    return out;
}

Result<LoadedWorkbook> readXlsx(const QByteArray& data) {
    using R = Result<LoadedWorkbook>;
    const ReaderTexts& t = readerTexts();
    if (data.isEmpty()) {
        return R::failure(t.emptyFile);
    }
    if (data.size() > rl::kMaxFileSize) {
        return R::failure(t.fileTooLarge);
    }
    if (!data.startsWith("PK")) {
        return R::failure(t.notXlsx);
    }
    Package package;
    if (Status s = package.open(data); !s) {
        return R::failure(s.error());
    }

    const auto rootRels = readRelationships(package, std::string());
    if (!rootRels) {
        return R::failure(rootRels.error());
    }
    std::string workbookPart;
    for (const auto& [id, rel] : *rootRels) {
        if (endsWith(rel.type, "/officeDocument") && !rel.target.empty()) {
            workbookPart = rel.target;
            break;
        }
    }
    if (workbookPart.empty() || !package.contains(workbookPart)) {
        return R::failure(damaged(t.noWorkbookPart));
    }

    const auto rels = readRelationships(package, workbookPart);
    if (!rels) {
        return R::failure(rels.error());
    }
    const auto sheets = readSheetList(package, workbookPart);
    if (!sheets) {
        return R::failure(sheets.error());
    }

    LoadedWorkbook book;
    const std::uint32_t sharedBase = 0;
    int sharedCount = 0;
    for (const auto& [id, rel] : *rels) {
        if (endsWith(rel.type, "/sharedStrings")) {
            if (rel.target.empty()) {
                return R::failure(damaged(t.relationshipLeavesPackage));
            }
            if (Status s = readSharedStrings(package, rel.target, book, sharedCount); !s) {
                return R::failure(s.error());
            }
            break;
        }
    }

    int cellTotal = 0;
    for (const auto& [name, id] : *sheets) {
        const auto rel = rels->find(id);
        if (rel == rels->end()) {
            return R::failure(damaged(t.namedSheetWithoutRelationship.arg(name)));
        }
        if (isOtherSheetType(rel->second.type)) {
            continue;
        }
        if (!isWorksheetType(rel->second.type)) {
            return R::failure(damaged(t.unknownSheetKind.arg(name)));
        }
        if (rel->second.target.empty()) {
            return R::failure(damaged(t.relationshipLeavesPackage));
        }
        book.addSheet(name);
        if (Status s =
                readSheet(package, rel->second.target, sharedBase, sharedCount, book, cellTotal);
            !s) {
            return R::failure(s.error());
        }
    }
    book.finish();
    return R::success(std::move(book));
}

}  // namespace normativ
