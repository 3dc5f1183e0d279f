#include "readxlsx.h"

#include "celladdress.h"
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
    return QStringLiteral("файл .xlsx повреждён: %1").arg(why);
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

    QString open(const QByteArray& data) {
        zip_error_t error;
        zip_error_init(&error);
        zip_source_t* source = zip_source_buffer_create(
            data.constData(), static_cast<zip_uint64_t>(data.size()), 0, &error);
        if (source == nullptr) {
            zip_error_fini(&error);
            return damaged(QStringLiteral("архив не читается"));
        }
        archive_ = zip_open_from_source(source, ZIP_RDONLY, &error);
        zip_error_fini(&error);
        if (archive_ == nullptr) {
            zip_source_free(source);
            return damaged(QStringLiteral("архив не читается"));
        }
        const zip_int64_t count = zip_get_num_entries(archive_, 0);
        if (count < 0 || count > rl::kMaxZipEntries) {
            return damaged(QStringLiteral("слишком много частей в архиве"));
        }
        for (zip_int64_t i = 0; i < count; ++i) {
            const auto index = static_cast<zip_uint64_t>(i);
            const char* rawName = zip_get_name(archive_, index, ZIP_FL_ENC_RAW);
            zip_stat_t st;
            zip_stat_init(&st);
            if (rawName == nullptr || zip_stat_index(archive_, index, ZIP_FL_ENC_RAW, &st) != 0) {
                return damaged(QStringLiteral("архив не читается"));
            }
            if ((st.valid & ZIP_STAT_ENCRYPTION_METHOD) && st.encryption_method != ZIP_EM_NONE) {
                return QStringLiteral("файл .xlsx зашифрован");
            }
            const std::string_view name(rawName);
            if (!safeName(name)) {
                return damaged(
                    QStringLiteral("недопустимое имя части «%1»")
                        .arg(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()))));
            }
            if (!index_.emplace(lowerAscii(name), index).second) {
                return damaged(QStringLiteral("две части с одним именем"));
            }
        }
        return {};
    }

    bool contains(const std::string& part) const { return index_.count(lowerAscii(part)) != 0; }

    // The inflated bytes of a part, or a reason.
    QString read(const std::string& part, std::string& out) {
        out.clear();
        const auto it = index_.find(lowerAscii(part));
        if (it == index_.end()) {
            return damaged(QStringLiteral("нет части «%1»").arg(QString::fromStdString(part)));
        }
        zip_stat_t st;
        zip_stat_init(&st);
        if (zip_stat_index(archive_, it->second, 0, &st) != 0) {
            return damaged(QStringLiteral("архив не читается"));
        }
        const std::int64_t compressed =
            (st.valid & ZIP_STAT_COMP_SIZE) ? static_cast<std::int64_t>(st.comp_size) : 0;
        if ((st.valid & ZIP_STAT_SIZE) && st.size > 0) {
            // Only a hint for the first allocation; what counts is what inflates.
            out.reserve(static_cast<std::size_t>(
                std::min<zip_uint64_t>(st.size, static_cast<zip_uint64_t>(rl::kMaxPartSize))));
        }
        zip_file_t* file = zip_fopen_index(archive_, it->second, 0);
        if (file == nullptr) {
            return damaged(
                QStringLiteral("часть «%1» не читается").arg(QString::fromStdString(part)));
        }
        std::unique_ptr<zip_file_t, int (*)(zip_file_t*)> guard(file, zip_fclose);
        char chunk[64 * 1024];
        for (;;) {
            const zip_int64_t n = zip_fread(file, chunk, sizeof chunk);
            if (n < 0) {
                return damaged(
                    QStringLiteral("часть «%1» не читается").arg(QString::fromStdString(part)));
            }
            if (n == 0) {
                break;
            }
            const auto size = static_cast<std::int64_t>(out.size()) + n;
            inflated_ += n;
            if (size > rl::kMaxPartSize) {
                return damaged(
                    QStringLiteral("часть «%1» слишком велика").arg(QString::fromStdString(part)));
            }
            if (inflated_ > rl::kMaxInflatedTotal) {
                return damaged(QStringLiteral("распакованные части слишком велики"));
            }
            if (size > rl::kRatioCheckedFrom &&
                size > rl::kMaxInflationRatio * std::max<std::int64_t>(compressed, 1)) {
                return damaged(QStringLiteral("часть «%1» сжата подозрительно сильно")
                                   .arg(QString::fromStdString(part)));
            }
            out.append(chunk, static_cast<std::size_t>(n));
        }
        return {};
    }

  private:
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

QString readRelationships(Package& package, const std::string& part,
                          std::map<std::string, Relationship>& rels) {
    std::string xml;
    if (QString e = package.read(relationshipsPartOf(part), xml); !e.isEmpty()) {
        return e;
    }
    const std::string folder = folderOf(part);
    XmlPullReader reader(xml, rl::kMaxXmlDepth);
    std::string id, type, target, mode;
    int count = 0;
    for (;;) {
        const Token t = reader.next();
        if (t == Token::Error) {
            return damaged(reader.error());
        }
        if (t == Token::EndOfDocument) {
            return {};
        }
        if (t != Token::StartElement || reader.name() != "Relationship" || reader.depth() != 2) {
            continue;
        }
        if (++count > rl::kMaxZipEntries * 4) {
            return damaged(QStringLiteral("слишком много связей"));
        }
        if (!reader.attribute("Id", id) || !reader.attribute("Type", type) ||
            !reader.attribute("Target", target)) {
            continue;
        }
        const bool external = reader.attribute("TargetMode", mode) && mode == "External";
        rels.emplace(id,
                     Relationship{type, external ? std::string() : resolveTarget(folder, target)});
    }
}

// Text of <t> elements under the current element (<si> or <is>), rich text runs joined
// and phonetic runs (<rPh>) skipped; the reader is left after the element's end.
QString readRichText(XmlPullReader& reader, QString& error) {
    const int baseDepth = reader.depth();
    std::string text;
    int skipFrom = 0;  // depth of an <rPh> being skipped
    bool inT = false;
    for (;;) {
        const Token t = reader.next();
        if (t == Token::Error || t == Token::EndOfDocument) {
            error = damaged(reader.error());
            return {};
        }
        if (t == Token::StartElement) {
            if (skipFrom == 0 && reader.name() == "rPh") {
                skipFrom = reader.depth();
            }
            inT = skipFrom == 0 && reader.name() == "t";
        } else if (t == Token::EndElement) {
            if (reader.depth() < baseDepth) {
                break;
            }
            if (skipFrom != 0 && reader.depth() < skipFrom) {
                skipFrom = 0;
            }
            inT = false;
        } else if (t == Token::Text && inT) {
            text += reader.text();
            if (text.size() > static_cast<std::size_t>(kMaxCellTextLength) * 4) {
                error = damaged(
                    QStringLiteral("текст ячейки длиннее %1 знаков").arg(kMaxCellTextLength));
                return {};
            }
        }
    }
    QString result =
        decodeXmlEscapes(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    if (result.size() > kMaxCellTextLength) {
        error = damaged(QStringLiteral("текст ячейки длиннее %1 знаков").arg(kMaxCellTextLength));
        return {};
    }
    return result;
}

// Adds the shared strings to the workbook's text pool, counting them in `count`.
QString readSharedStrings(Package& package, const std::string& part, LoadedWorkbook& book,
                          int& count) {
    std::string xml;
    if (QString e = package.read(part, xml); !e.isEmpty()) {
        return e;
    }
    XmlPullReader reader(xml, rl::kMaxXmlDepth);
    for (;;) {
        const Token t = reader.next();
        if (t == Token::Error) {
            return damaged(reader.error());
        }
        if (t == Token::EndOfDocument) {
            return {};
        }
        if (t == Token::StartElement && reader.name() == "si" && reader.depth() == 2) {
            if (count >= rl::kMaxSharedStrings) {
                return damaged(QStringLiteral("слишком много строк"));
            }
            QString error;
            QString text = readRichText(reader, error);
            if (!error.isEmpty()) {
                return error;
            }
            book.addText(std::move(text));
            ++count;
        }
    }
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

// Reads one worksheet's cells into the workbook's last sheet; shared string i is text
// sharedBase + i of the pool.
QString readSheet(Package& package, const std::string& part, std::uint32_t sharedBase,
                  int sharedCount, LoadedWorkbook& book, int& cellTotal) {
    std::string xml;
    if (QString e = package.read(part, xml); !e.isEmpty()) {
        return e;
    }
    XmlPullReader reader(xml, rl::kMaxXmlDepth);
    int sheetDataDepth = 0;
    int row = 0;
    int column = 0;
    std::string attr;
    // The cell being read.
    bool inCell = false;
    int cellRow = 0;
    int cellColumn = 0;
    std::string type;
    std::string value;
    bool haveValue = false;
    bool inValue = false;
    QString inlineText;
    bool haveInline = false;

    for (;;) {
        const Token t = reader.next();
        if (t == Token::Error) {
            return damaged(reader.error());
        }
        if (t == Token::EndOfDocument) {
            return {};
        }
        if (t == Token::StartElement) {
            const std::string_view name = reader.name();
            if (sheetDataDepth == 0) {
                if (name == "sheetData" && reader.depth() == 2) {
                    sheetDataDepth = reader.depth();
                }
                continue;
            }
            if (!inCell && name == "row" && reader.depth() == sheetDataDepth + 1) {
                if (reader.attribute("r", attr)) {
                    const auto r = parseIndex(attr, kMaxRows);
                    if (!r || *r < 1) {
                        return damaged(QStringLiteral("неверный номер строки"));
                    }
                    row = *r;
                } else {
                    ++row;
                }
                if (row > kMaxRows) {
                    return damaged(QStringLiteral("строка за пределами листа"));
                }
                column = 0;
            } else if (!inCell && name == "c" && reader.depth() == sheetDataDepth + 2) {
                if (reader.attribute("r", attr)) {
                    const auto ref = parseCellRef(std::string_view(attr));
                    if (!ref) {
                        return damaged(
                            QStringLiteral("неверный адрес ячейки «%1»")
                                .arg(QString::fromUtf8(attr.data(), qsizetype(attr.size()))
                                         .left(32)));
                    }
                    cellRow = ref->row;
                    cellColumn = ref->column;
                } else {
                    cellRow = std::max(row, 1);
                    cellColumn = column + 1;
                    if (cellColumn > kMaxColumns) {
                        return damaged(QStringLiteral("ячейка за пределами листа"));
                    }
                }
                column = cellColumn;
                inCell = true;
                if (!reader.attribute("t", type)) {
                    type.clear();
                }
                value.clear();
                haveValue = false;
                haveInline = false;
                inlineText.clear();
            } else if (inCell && name == "v" && reader.depth() == sheetDataDepth + 3) {
                inValue = true;
                haveValue = true;
            } else if (inCell && name == "is" && reader.depth() == sheetDataDepth + 3) {
                QString error;
                inlineText = readRichText(reader, error);
                if (!error.isEmpty()) {
                    return error;
                }
                haveInline = true;
            }
            continue;
        }
        if (t == Token::Text) {
            if (inValue) {
                value += reader.text();
                if (value.size() > static_cast<std::size_t>(kMaxCellTextLength) * 4) {
                    return damaged(
                        QStringLiteral("текст ячейки длиннее %1 знаков").arg(kMaxCellTextLength));
                }
            }
            continue;
        }
        // End of an element.
        if (sheetDataDepth != 0 && reader.depth() < sheetDataDepth) {
            sheetDataDepth = 0;
            continue;
        }
        if (inValue && reader.name() == "v") {
            inValue = false;
            continue;
        }
        if (!inCell || reader.name() != "c" || reader.depth() != sheetDataDepth + 1) {
            continue;
        }
        inCell = false;
        CellValue cell;
        if (type == "s") {
            if (haveValue) {
                const auto index = parseIndex(value, rl::kMaxSharedStrings);
                if (!index || *index >= sharedCount) {
                    return damaged(QStringLiteral("ссылка на несуществующую строку"));
                }
                if (++cellTotal > rl::kMaxCells) {
                    return damaged(QStringLiteral("слишком много ячеек"));
                }
                book.appendTextCell(cellRow, cellColumn,
                                    sharedBase + static_cast<std::uint32_t>(*index));
                continue;
            }
        } else if (type == "inlineStr") {
            if (haveInline) {
                cell = CellValue::text(inlineText);
            } else if (haveValue) {
                cell = CellValue::text(decodeXmlEscapes(QString::fromStdString(value)));
            }
        } else if (type == "b") {
            if (haveValue) {
                const std::string_view v = trimmed(value);
                if (v == "1" || v == "true") {
                    cell = CellValue::boolean(true);
                } else if (v == "0" || v == "false") {
                    cell = CellValue::boolean(false);
                } else {
                    return damaged(QStringLiteral("неверное логическое значение"));
                }
            }
        } else if (type == "str" || type == "e" || type == "d") {
            // A formula's text result, an error value (#DIV/0! ...) as the user sees it, or
            // an ISO date: text.
            if (haveValue) {
                cell = CellValue::text(decodeXmlEscapes(QString::fromStdString(value)));
            }
        } else if (type.empty() || type == "n") {
            if (haveValue && !trimmed(value).empty()) {
                const auto number = parseNumber(value);
                if (!number) {
                    return damaged(QStringLiteral("неверное число в ячейке"));
                }
                cell = CellValue::number(*number);
            }
        } else {
            return damaged(QStringLiteral("неизвестный тип ячейки"));
        }
        if (cell.isText() && cell.toText().size() > kMaxCellTextLength) {
            return damaged(
                QStringLiteral("текст ячейки длиннее %1 знаков").arg(kMaxCellTextLength));
        }
        if (!cell.isEmpty()) {
            if (++cellTotal > rl::kMaxCells) {
                return damaged(QStringLiteral("слишком много ячеек"));
            }
            book.appendCell(cellRow, cellColumn, cell);
        }
    }
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
    if (data.isEmpty()) {
        return R::failure(QStringLiteral("файл пуст"));
    }
    if (data.size() > rl::kMaxFileSize) {
        return R::failure(QStringLiteral("файл больше 20 МБ"));
    }
    if (!data.startsWith("PK")) {
        return R::failure(QStringLiteral("файл не является книгой .xlsx"));
    }
    Package package;
    if (QString e = package.open(data); !e.isEmpty()) {
        return R::failure(e);
    }

    std::map<std::string, Relationship> rootRels;
    if (QString e = readRelationships(package, std::string(), rootRels); !e.isEmpty()) {
        return R::failure(e);
    }
    std::string workbookPart;
    for (const auto& [id, rel] : rootRels) {
        if (endsWith(rel.type, "/officeDocument") && !rel.target.empty()) {
            workbookPart = rel.target;
            break;
        }
    }
    if (workbookPart.empty() || !package.contains(workbookPart)) {
        return R::failure(damaged(QStringLiteral("нет основной части книги")));
    }

    std::map<std::string, Relationship> rels;
    if (QString e = readRelationships(package, workbookPart, rels); !e.isEmpty()) {
        return R::failure(e);
    }

    // The sheets in workbook order: (name, relationship id).
    std::vector<std::pair<QString, std::string>> sheets;
    {
        std::string xml;
        if (QString e = package.read(workbookPart, xml); !e.isEmpty()) {
            return R::failure(e);
        }
        XmlPullReader reader(xml, rl::kMaxXmlDepth);
        std::string name;
        std::string id;
        for (;;) {
            const Token t = reader.next();
            if (t == Token::Error) {
                return R::failure(damaged(reader.error()));
            }
            if (t == Token::EndOfDocument) {
                break;
            }
            if (t == Token::StartElement && reader.name() == "sheet" && reader.depth() == 3) {
                if (static_cast<int>(sheets.size()) >= rl::kMaxSheets) {
                    return R::failure(damaged(QStringLiteral("слишком много листов")));
                }
                if (!reader.attribute("id", id)) {
                    return R::failure(damaged(QStringLiteral("лист без связи")));
                }
                if (!reader.attribute("name", name)) {
                    name.clear();
                }
                sheets.emplace_back(QString::fromStdString(name), id);
            }
        }
    }

    LoadedWorkbook book;
    const std::uint32_t sharedBase = 0;
    int sharedCount = 0;
    for (const auto& [id, rel] : rels) {
        if (endsWith(rel.type, "/sharedStrings")) {
            if (rel.target.empty()) {
                return R::failure(damaged(QStringLiteral("связь указывает за пределы книги")));
            }
            if (QString e = readSharedStrings(package, rel.target, book, sharedCount);
                !e.isEmpty()) {
                return R::failure(e);
            }
            break;
        }
    }

    int cellTotal = 0;
    for (const auto& [name, id] : sheets) {
        const auto rel = rels.find(id);
        if (rel == rels.end()) {
            return R::failure(damaged(QStringLiteral("лист «%1» без связи").arg(name)));
        }
        if (isOtherSheetType(rel->second.type)) {
            continue;
        }
        if (!isWorksheetType(rel->second.type)) {
            return R::failure(damaged(QStringLiteral("лист «%1» неизвестного вида").arg(name)));
        }
        if (rel->second.target.empty()) {
            return R::failure(damaged(QStringLiteral("связь указывает за пределы книги")));
        }
        book.addSheet(name);
        if (QString e =
                readSheet(package, rel->second.target, sharedBase, sharedCount, book, cellTotal);
            !e.isEmpty()) {
            return R::failure(e);
        }
    }
    book.finish();
    return R::success(std::move(book));
}

}  // namespace normativ
