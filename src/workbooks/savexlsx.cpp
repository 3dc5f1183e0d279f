#include "savexlsx.h"
#include "writertexts.h"

#include "deflatedpart.h"
#include "exactnumbers.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <xlsxwriter.h>

#include <fcntl.h>
#include <locale.h>
#include <unistd.h>
#include <algorithm>
#include <cerrno>
#include <cfloat>
#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <map>
#include <set>
#include <string>
#include <utility>

namespace normativ {

namespace {

bool isHex(QChar c) {
    return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'F') || (c >= u'a' && c <= u'f');
}

// The Russian reason for an errno of a file operation.
QString reasonOf(int error) {
    switch (error) {
        case ENOENT:
            return writerTexts().noFolder;
        case ENOTDIR:
            return writerTexts().fileInPath;
        case EACCES:
        case EPERM:
            return writerTexts().noPermission;
        case EROFS:
            return writerTexts().readOnlyDisk;
        case ENOSPC:
        case EDQUOT:
        case EFBIG:
            return writerTexts().diskFull;
        case ENAMETOOLONG:
            return writerTexts().nameTooLong;
        case EISDIR:
            return writerTexts().folderAtPath;
        default:
            return writerTexts().writeError.arg(error);
    }
}

// Formats numbers with a decimal point while libxlsxwriter runs: it prints doubles with
// the C library's LC_NUMERIC, which a Russian locale makes a comma (a corrupt file).
// uselocale() changes this thread only and is undone on every path.
class CNumericLocale {
  public:
    CNumericLocale() {
        cLocale_ = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
        if (cLocale_ != static_cast<locale_t>(nullptr)) {
            previous_ = uselocale(cLocale_);
        }
    }
    ~CNumericLocale() {
        if (cLocale_ != static_cast<locale_t>(nullptr)) {
            uselocale(previous_);
            freelocale(cLocale_);
        }
    }
    bool ok() const { return cLocale_ != static_cast<locale_t>(nullptr); }
    CNumericLocale(const CNumericLocale&) = delete;
    CNumericLocale& operator=(const CNumericLocale&) = delete;

  private:
    locale_t cLocale_ = static_cast<locale_t>(nullptr);
    locale_t previous_ = static_cast<locale_t>(nullptr);
};

// One libxlsxwriter format object per distinct CellFormat.
class FormatCache {
  public:
    explicit FormatCache(lxw_workbook* wb) : wb_(wb) {}

    // Null for the default format unless `explicitDefault`: a cell in a formatted row or
    // column must name the default style, or the row's or column's would show instead.
    lxw_format* get(const CellFormat& f, bool explicitDefault = false) {
        if (f == CellFormat{} && !explicitDefault) {
            return nullptr;
        }
        for (const auto& [key, format] : cache_) {
            if (key == f) {
                return format;
            }
        }
        lxw_format* format = workbook_add_format(wb_);
        if (format == nullptr) {
            return nullptr;
        }
        if (!f.fontName.isEmpty()) {
            format_set_font_name(format, f.fontName.toUtf8().constData());
        }
        if (f.fontSize > 0) {
            format_set_font_size(format, f.fontSize);
        }
        if (f.bold) {
            format_set_bold(format);
        }
        if (f.italic) {
            format_set_italic(format);
        }
        if (f.fontColor) {
            format_set_font_color(format, static_cast<lxw_color_t>(*f.fontColor & 0xFFFFFFu));
        }
        if (!f.numberFormat.isEmpty() && f.numberFormat != QLatin1String("General")) {
            format_set_num_format(format, f.numberFormat.toUtf8().constData());
        }
        switch (f.horizontal) {
            case HorizontalAlignment::General:
                break;
            case HorizontalAlignment::Left:
                format_set_align(format, LXW_ALIGN_LEFT);
                break;
            case HorizontalAlignment::Center:
                format_set_align(format, LXW_ALIGN_CENTER);
                break;
            case HorizontalAlignment::Right:
                format_set_align(format, LXW_ALIGN_RIGHT);
                break;
        }
        switch (f.vertical) {
            case VerticalAlignment::Bottom:
                break;
            case VerticalAlignment::Center:
                format_set_align(format, LXW_ALIGN_VERTICAL_CENTER);
                break;
            case VerticalAlignment::Top:
                format_set_align(format, LXW_ALIGN_VERTICAL_TOP);
                break;
        }
        if (f.wrap) {
            format_set_text_wrap(format);
        }
        const auto border = [](BorderStyle s) -> uint8_t {
            switch (s) {
                case BorderStyle::None:
                    return LXW_BORDER_NONE;
                case BorderStyle::Thin:
                    return LXW_BORDER_THIN;
                case BorderStyle::Medium:
                    return LXW_BORDER_MEDIUM;
            }
            return LXW_BORDER_NONE;
        };
        format_set_left(format, border(f.left));
        format_set_top(format, border(f.top));
        format_set_right(format, border(f.right));
        format_set_bottom(format, border(f.bottom));
        cache_.emplace_back(f, format);
        return format;
    }

  private:
    lxw_workbook* wb_;
    std::vector<std::pair<CellFormat, lxw_format*>> cache_;
};

// The first libxlsxwriter error of a sequence of calls.
struct ErrorKeeper {
    lxw_error first = LXW_NO_ERROR;
    void operator()(lxw_error e) {
        if (first == LXW_NO_ERROR && e != LXW_NO_ERROR) {
            first = e;
        }
    }
};

// Below the smallest normal double a spreadsheet keeps 0 (and such a number's text would
// not read back).
double writtenNumber(const CellValue& value) {
    return std::fabs(value.toNumber()) < DBL_MIN ? 0.0 : value.toNumber();
}

// The number cells whose 16-digit text would not read back, sheet by sheet.
std::vector<SheetNumberTexts> inexactNumbers(const Workbook& workbook) {
    std::vector<SheetNumberTexts> sheets;
    for (int i = 1; i <= workbook.sheetCount(); ++i) {
        SheetNumberTexts texts{i, {}};
        for (const auto& [key, cell] : workbook.sheet(i).cells()) {
            if (cell.value.kind() != CellValue::Kind::Number) continue;
            if (auto text = exactNumberText(writtenNumber(cell.value))) {
                texts.cells.push_back({cellAddress(key.first, key.second), std::move(*text)});
            }
        }
        if (!texts.cells.empty()) sheets.push_back(std::move(texts));
    }
    return sheets;
}

lxw_error writeCell(lxw_worksheet* ws, int row, int column, const CellValue& value,
                    lxw_format* format) {
    const auto r = static_cast<lxw_row_t>(row - 1);
    const auto c = static_cast<lxw_col_t>(column - 1);
    switch (value.kind()) {
        case CellValue::Kind::Number:
            return worksheet_write_number(ws, r, c, writtenNumber(value), format);
        case CellValue::Kind::Text: {
            const QByteArray utf8 = escapeCellText(value.toText()).toUtf8();
            return worksheet_write_string(ws, r, c, utf8.constData(), format);
        }
        case CellValue::Kind::Bool:
            return worksheet_write_boolean(ws, r, c, value.toBool() ? 1 : 0, format);
        case CellValue::Kind::Empty:
            return format ? worksheet_write_blank(ws, r, c, format) : LXW_NO_ERROR;
    }
    return LXW_NO_ERROR;
}

// A4 is paper 9 in the spreadsheet's numbering.
constexpr uint8_t kPaperA4 = 9;

lxw_error writePageSetup(lxw_worksheet* ws, const PageSetup& setup) {
    ErrorKeeper check;
    if (setup.paper == PageSetup::Paper::A4) worksheet_set_paper(ws, kPaperA4);
    if (setup.landscape) worksheet_set_landscape(ws);
    if (const auto& fit = setup.fit) {
        worksheet_fit_to_pages(ws, static_cast<uint16_t>(fit->wide),
                               static_cast<uint16_t>(fit->tall));
    }
    if (const auto& m = setup.margins) {
        worksheet_set_margins(ws, m->left, m->right, m->top, m->bottom);
    }
    if (const auto& a = setup.printArea) {
        check(worksheet_print_area(
            ws, static_cast<lxw_row_t>(a->firstRow - 1), static_cast<lxw_col_t>(a->firstColumn - 1),
            static_cast<lxw_row_t>(a->lastRow - 1), static_cast<lxw_col_t>(a->lastColumn - 1)));
    }
    if (const auto& rows = setup.repeatedRows) {
        check(worksheet_repeat_rows(ws, static_cast<lxw_row_t>(rows->first - 1),
                                    static_cast<lxw_row_t>(rows->last - 1)));
    }
    if (!setup.footer.isEmpty()) {
        const QByteArray footer = setup.footer.toUtf8();
        check(worksheet_set_footer(ws, footer.constData()));
    }
    return check.first;
}

lxw_error writeColumns(lxw_worksheet* ws, const Sheet& sheet, FormatCache& formats) {
    ErrorKeeper check;
    for (const auto& [first, span] : sheet.columnSpans()) {
        const auto& [last, settings] = span;
        const double width = settings.width.value_or(LXW_DEF_COL_WIDTH);
        lxw_row_col_options options{};
        options.hidden = (settings.hidden || width == 0) ? 1 : 0;
        lxw_format* format = settings.format ? formats.get(*settings.format, true) : nullptr;
        check(worksheet_set_column_opt(ws, static_cast<lxw_col_t>(first - 1),
                                       static_cast<lxw_col_t>(last - 1), width, format, &options));
    }
    return check.first;
}

lxw_error writeRowSettings(lxw_worksheet* ws, int row, const Sheet::RowSettings& settings,
                           int hiddenFrom, FormatCache& formats) {
    const double height = settings.height.value_or(LXW_DEF_ROW_HEIGHT);
    lxw_row_col_options options{};
    options.hidden =
        (settings.hidden || height == 0 || (hiddenFrom > 0 && row >= hiddenFrom)) ? 1 : 0;
    lxw_format* format = settings.format ? formats.get(*settings.format, true) : nullptr;
    return worksheet_set_row_opt(ws, static_cast<lxw_row_t>(row - 1), height, format, &options);
}

lxw_error writeSheetCell(lxw_worksheet* ws, const Sheet& sheet, int row, int column,
                         const Sheet::Cell& cell, FormatCache& formats) {
    const auto rowIt = sheet.rows().find(row);
    const bool lineFormatted = (rowIt != sheet.rows().end() && rowIt->second.format) ||
                               sheet.columnSettings(column).format.has_value();
    bool inMerge = false;
    for (const RangeRef& m : sheet.mergedRanges()) {
        inMerge = inMerge || m.contains(row, column);
    }
    lxw_format* format = formats.get(cell.format, lineFormatted || inMerge);
    return writeCell(ws, row, column, cell.value, format);
}

void writeFrozenPanes(lxw_worksheet* ws, const Sheet& sheet) {
    if (const auto frozen = sheet.frozenAt()) {
        worksheet_freeze_panes(ws, static_cast<lxw_row_t>(frozen->row - 1),
                               static_cast<lxw_col_t>(frozen->column - 1));
    }
}

lxw_error writeSheet(lxw_workbook* wb, const Sheet& sheet, FormatCache& formats) {
    ErrorKeeper check;
    const QByteArray name = sheet.name().toUtf8();
    lxw_worksheet* ws = workbook_add_worksheet(wb, name.constData());
    if (ws == nullptr) {
        return LXW_ERROR_MEMORY_MALLOC_FAILED;
    }
    check(writeColumns(ws, sheet, formats));

    const int hiddenFrom = sheet.rowsHiddenFrom();
    std::set<int> rowsToWrite;
    for (const auto& [row, settings] : sheet.rows()) {
        rowsToWrite.insert(row);
    }
    if (hiddenFrom > 0) {
        worksheet_set_default_row(ws, LXW_DEF_ROW_HEIGHT, LXW_TRUE);
        // Rows above the hidden part are shown only when written, even empty ones.
        for (int row = 1; row < hiddenFrom; ++row) {
            rowsToWrite.insert(row);
        }
        // Rows with values below it would show unless hidden explicitly.
        for (const auto& [key, cell] : sheet.cells()) {
            if (key.first >= hiddenFrom) {
                rowsToWrite.insert(key.first);
            }
        }
    }
    for (int row : rowsToWrite) {
        const auto it = sheet.rows().find(row);
        check(writeRowSettings(ws, row,
                               it == sheet.rows().end() ? Sheet::RowSettings{} : it->second,
                               hiddenFrom, formats));
    }

    // Merges first: libxlsxwriter fills a merged range with blanks, which the cells
    // written afterwards replace with their own values and formats.
    for (const RangeRef& m : sheet.mergedRanges()) {
        lxw_format* format = formats.get(sheet.format(m.firstRow, m.firstColumn), true);
        check(worksheet_merge_range(ws, static_cast<lxw_row_t>(m.firstRow - 1),
                                    static_cast<lxw_col_t>(m.firstColumn - 1),
                                    static_cast<lxw_row_t>(m.lastRow - 1),
                                    static_cast<lxw_col_t>(m.lastColumn - 1), "", format));
    }

    for (const auto& [key, cell] : sheet.cells()) {
        check(writeSheetCell(ws, sheet, key.first, key.second, cell, formats));
    }

    writeFrozenPanes(ws, sheet);
    check(writePageSetup(ws, sheet.pageSetup()));
    return check.first;
}

QString failure(const QString& path, const QString& reason) {
    return writerTexts().notSaved.arg(QDir::toNativeSeparators(path), reason);
}

// A new, empty file beside the target; its name and an errno on failure.
std::pair<QString, int> createTemporaryBeside(const QString& target) {
    const QFileInfo info(target);
    const QString dir = info.absolutePath();
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QString name =
            QStringLiteral("%1/.~%2.%3.tmp")
                .arg(dir, info.fileName())
                .arg(QRandomGenerator::global()->generate() & 0xFFFFFFu, 6, 16, QChar(u'0'));
        const int fd = ::open(QFile::encodeName(name).constData(),
                              O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            ::close(fd);
            return {name, 0};
        }
        if (errno != EEXIST) {
            return {{}, errno};
        }
    }
    return {{}, EEXIST};
}

// Flushes a file (or a folder's entry list) to the disk; an errno or 0.
int syncPath(const QByteArray& path, bool directory) {
    const int fd =
        ::open(path.constData(), (directory ? O_RDONLY | O_DIRECTORY : O_RDONLY) | O_CLOEXEC);
    if (fd < 0) {
        return errno;
    }
    const int result = ::fsync(fd) == 0 ? 0 : errno;
    ::close(fd);
    // Some file systems can't sync a folder; the rename stands all the same.
    return directory ? 0 : result;
}

}  // namespace

QString escapeCellText(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar ch = text.at(i);
        const char16_t u = ch.unicode();
        if ((u < 0x20 && u != u'\t' && u != u'\n' && u != u'\r') || u == 0xFFFE || u == 0xFFFF) {
            out += QLatin1String("_x") +
                   QStringLiteral("%1").arg(static_cast<int>(u), 4, 16, QChar(u'0')).toUpper() +
                   QLatin1Char('_');
            continue;
        }
        if (u == u'_' && i + 6 < text.size() && text.at(i + 1) == u'x' && isHex(text.at(i + 2)) &&
            isHex(text.at(i + 3)) && isHex(text.at(i + 4)) && isHex(text.at(i + 5)) &&
            text.at(i + 6) == u'_') {
            out += QLatin1String("_x005F_");
            continue;
        }
        out += ch;
    }
    return out;
}

namespace {
void (*beforeRenameHook)() = nullptr;
}

void setBeforeRenameHookForTests(void (*hook)()) {
    beforeRenameHook = hook;
}

namespace {

// Checks the target and creates the temporary file beside it: its path, or why not.
Result<QString> startSave(const QString& path) {
    if (QFileInfo(path).isDir()) {
        return Result<QString>::failure(failure(path, reasonOf(EISDIR)));
    }
    const auto [temporary, createError] = createTemporaryBeside(path);
    if (temporary.isEmpty()) {
        return Result<QString>::failure(failure(path, reasonOf(createError)));
    }
    return Result<QString>::success(temporary);
}

// Removes the temporary file of a save that failed for `reason`.
Status discardSave(const QString& temporary, const QString& path, const QString& reason) {
    ::unlink(QFile::encodeName(temporary).constData());
    return Status::failure(failure(path, reason));
}

// The failure of libxlsxwriter's writing or closing.
QString writeFailure(lxw_error result, int closeErrno) {
    return closeErrno != 0 ? reasonOf(closeErrno)
                           : writerTexts().bookWriteError.arg(static_cast<int>(result));
}

// The temporary file, complete, on the disk and then renamed into place.
Status completeSave(const QString& temporary, const QString& path) {
    const QByteArray temporaryName = QFile::encodeName(temporary);
    if (const int e = syncPath(temporaryName, false); e != 0) {
        return discardSave(temporary, path, reasonOf(e));
    }
    if (beforeRenameHook != nullptr) beforeRenameHook();
    if (::rename(temporaryName.constData(), QFile::encodeName(path).constData()) != 0) {
        return discardSave(temporary, path, reasonOf(errno));
    }
    syncPath(QFile::encodeName(QFileInfo(path).absolutePath()), true);
    return Status::success();
}

lxw_workbook* newWorkbook(const QString& temporary) {
    QByteArray folder = QFile::encodeName(QFileInfo(temporary).absolutePath());
    lxw_workbook_options options{};
    // libxlsxwriter's scratch files go beside the target too: known to be writable.
    options.tmpdir = folder.data();
    return workbook_new_opt(QFile::encodeName(temporary).constData(), &options);
}

}  // namespace

Status saveWorkbook(const Workbook& workbook, const QString& path) {
    if (!workbook.error().isEmpty()) {
        return Status::failure(failure(path, workbook.error()));
    }
    if (workbook.sheetCount() == 0) {
        return Status::failure(failure(path, writerTexts().noSheets));
    }
    std::set<QString> names;
    for (int i = 1; i <= workbook.sheetCount(); ++i) {
        if (!names.insert(workbook.sheet(i).name().toCaseFolded()).second) {
            return Status::failure(
                failure(path, writerTexts().twoSheetsNamed.arg(workbook.sheet(i).name())));
        }
    }

    const Result<QString> started = startSave(path);
    if (!started) return Status::failure(started.error());
    const QString& temporary = *started;

    lxw_error result = LXW_NO_ERROR;
    int closeErrno = 0;
    {
        CNumericLocale numeric;
        if (!numeric.ok()) {
            return discardSave(temporary, path, writerTexts().numberFormatFailed);
        }
        lxw_workbook* wb = newWorkbook(temporary);
        if (wb == nullptr) {
            return discardSave(temporary, path, writerTexts().outOfMemory);
        }
        FormatCache formats(wb);
        ErrorKeeper check;
        for (int i = 1; i <= workbook.sheetCount(); ++i) {
            check(writeSheet(wb, workbook.sheet(i), formats));
        }
        errno = 0;
        const lxw_error closed = workbook_close(wb);
        closeErrno = errno;
        result = check.first != LXW_NO_ERROR ? check.first : closed;
    }
    if (result != LXW_NO_ERROR) {
        return discardSave(temporary, path, writeFailure(result, closeErrno));
    }
    if (const auto e = rewriteNumberTexts(temporary, inexactNumbers(workbook))) {
        return discardSave(temporary, path,
                           *e != 0 ? reasonOf(*e) : writerTexts().numbersWriteError);
    }
    return completeSave(temporary, path);
}

namespace {

// The rows of a streamed sheet are written here as libxlsxwriter writes them in its
// constant-memory mode (the same markup, cell by cell), but each number with a text that
// reads back and the whole compressed as it comes: the package's sheet is then put
// together from the libxlsxwriter sheet of everything else and these rows, without
// libxlsxwriter holding, compressing or this writer rewriting the rows a second time.

constexpr double kDefaultRowHeight = LXW_DEF_ROW_HEIGHT;

void appendInt(std::string& xml, long long value) {
    char buffer[24];
    xml.append(buffer, std::to_chars(buffer, buffer + sizeof buffer, value).ptr);
}

// A number as libxlsxwriter prints it ("%.16G"), or its exact text when that one would
// not read back (see exactnumbers.h).
void appendNumber(std::string& xml, double value) {
    if (const auto exact = exactNumberText(value)) {
        xml += *exact;
        return;
    }
    char buffer[64];
    char* end =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 16).ptr;
    std::replace(buffer, end, 'e', 'E');
    xml.append(buffer, end);
}

// A height as libxlsxwriter prints attributes ("%.16g").
void appendHeight(std::string& xml, double value) {
    char buffer[64];
    xml.append(
        buffer,
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 16).ptr);
}

void appendCellName(std::string& xml, int row, int column) {
    char name[16];
    int length = 0;
    for (int c = column; c > 0; c = (c - 1) / 26)
        name[length++] = static_cast<char>('A' + (c - 1) % 26);
    std::reverse(name, name + length);
    xml.append(name, static_cast<std::size_t>(length));
    appendInt(xml, row);
}

// <c r="B2" s="3", the style left out when it is the default.
void appendCellStart(std::string& xml, int row, int column, int style) {
    xml += "<c r=\"";
    appendCellName(xml, row, column);
    xml += '"';
    if (style != 0) {
        xml += " s=\"";
        appendInt(xml, style);
        xml += '"';
    }
}

// An inline string's text: control characters but tab and line feed as "_xHHHH_", then
// the markup characters escaped, as libxlsxwriter escapes them.
std::string inlineText(const QByteArray& utf8) {
    std::string out;
    out.reserve(static_cast<std::size_t>(utf8.size()));
    for (const char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 && c != '\t' && c != '\n') {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "_x%04X_", byte);
            out += escaped;
        } else if (c == '&') {
            out += "&amp;";
        } else if (c == '<') {
            out += "&lt;";
        } else if (c == '>') {
            out += "&gt;";
        } else {
            out += c;
        }
    }
    return out;
}

bool isCSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// The number of characters libxlsxwriter counts in a text.
std::size_t utf8Length(const QByteArray& utf8) {
    std::size_t count = 0;
    for (const char c : utf8) count += (static_cast<unsigned char>(c) & 0xC0) != 0x80 ? 1 : 0;
    return count;
}

// The range the sheet's cells and rows cover, as libxlsxwriter's <dimension> gives it.
struct Dimension {
    int firstRow = 0;  // 0: no row yet
    int lastRow = 0;
    int firstColumn = 0;  // 0: no column yet
    int lastColumn = 0;

    void addRow(int row) {
        firstRow = firstRow == 0 ? row : std::min(firstRow, row);
        lastRow = std::max(lastRow, row);
    }
    void addCell(int row, int column) {
        addRow(row);
        firstColumn = firstColumn == 0 ? column : std::min(firstColumn, column);
        lastColumn = std::max(lastColumn, column);
    }
    // A row's settings count from column A: saveWorkbook sets every row before any cell.
    void addRowSettings(int row) { addCell(row, 1); }

    std::string ref() const {
        if (firstRow == 0) return "A1";
        std::string out;
        appendCellName(out, firstRow, firstColumn);
        if (firstRow != lastRow || firstColumn != lastColumn) {
            out += ':';
            appendCellName(out, lastRow, lastColumn);
        }
        return out;
    }
};

}  // namespace

struct SheetStreamWriter::Private {
    QString path;
    QString temporary;
    // Where libxlsxwriter writes the package without the rows.
    QString shell;
    // The workbook of everything but the rows: its sheet has them spliced in at the end.
    lxw_workbook* wb = nullptr;
    lxw_worksheet* ws = nullptr;
    std::unique_ptr<FormatCache> formats;
    std::unique_ptr<DeflatedPiece> rows;
    std::string xml;  // the row being written
    // The entries of the table of shared texts, one for each text cell.
    std::unique_ptr<DeflatedPiece> sharedStrings;
    std::string strings;  // the entries of the rows being written
    std::uint64_t stringCount = 0;
    int lastRow = 0;
    Dimension dimension;

    ~Private() {
        if (wb != nullptr) lxw_workbook_free(wb);
        if (!shell.isEmpty()) ::unlink(QFile::encodeName(shell).constData());
        if (!temporary.isEmpty()) ::unlink(QFile::encodeName(temporary).constData());
    }

    // The XML of one row of `sheet`: its settings (if any) and its cells [begin, end).
    lxw_error appendRow(const Sheet& sheet, int row, const Sheet::RowSettings* settings,
                        std::map<std::pair<int, int>, Sheet::Cell>::const_iterator begin,
                        std::map<std::pair<int, int>, Sheet::Cell>::const_iterator end);
};

lxw_error SheetStreamWriter::Private::appendRow(
    const Sheet& sheet, int row, const Sheet::RowSettings* settings,
    std::map<std::pair<int, int>, Sheet::Cell>::const_iterator begin,
    std::map<std::pair<int, int>, Sheet::Cell>::const_iterator end) {
    if (settings != nullptr) dimension.addRowSettings(row);
    // The cells first, into their own string: a row without any is an empty element.
    std::string cells;
    for (auto it = begin; it != end; ++it) {
        const int column = it->first.second;
        const Sheet::Cell& cell = it->second;
        const auto rowIt = sheet.rows().find(row);
        const bool lineFormatted = (rowIt != sheet.rows().end() && rowIt->second.format) ||
                                   sheet.columnSettings(column).format.has_value();
        lxw_format* format = formats->get(cell.format, lineFormatted);
        const int style = format ? static_cast<int>(lxw_format_get_xf_index(format)) : 0;
        switch (cell.value.kind()) {
            case CellValue::Kind::Number:
                appendCellStart(cells, row, column, style);
                cells += "><v>";
                appendNumber(cells, writtenNumber(cell.value));
                cells += "</v></c>";
                break;
            case CellValue::Kind::Text: {
                const QByteArray utf8 = escapeCellText(cell.value.toText()).toUtf8();
                if (utf8Length(utf8) > static_cast<std::size_t>(kMaxCellTextLength)) {
                    return LXW_ERROR_MAX_STRING_LENGTH_EXCEEDED;
                }
                if (utf8.isEmpty()) {
                    // An empty text is a blank, as libxlsxwriter writes it.
                    if (format == nullptr) continue;
                    appendCellStart(cells, row, column, style);
                    cells += "/>";
                    break;
                }
                // Each text its own entry of the shared table, as it comes: the table
                // then needs no memory of the texts before.
                const std::string text = inlineText(utf8);
                strings += isCSpace(text.front()) || isCSpace(text.back())
                               ? "<si><t xml:space=\"preserve\">"
                               : "<si><t>";
                strings += text;
                strings += "</t></si>";
                appendCellStart(cells, row, column, style);
                cells += " t=\"s\"><v>";
                appendInt(cells, static_cast<long long>(stringCount++));
                cells += "</v></c>";
                break;
            }
            case CellValue::Kind::Bool:
                appendCellStart(cells, row, column, style);
                cells += cell.value.toBool() ? " t=\"b\"><v>1</v></c>" : " t=\"b\"><v>0</v></c>";
                break;
            case CellValue::Kind::Empty:
                if (format == nullptr) continue;
                appendCellStart(cells, row, column, style);
                cells += "/>";
                break;
        }
        dimension.addCell(row, column);
    }
    if (settings == nullptr && cells.empty()) return LXW_NO_ERROR;

    xml += "<row r=\"";
    appendInt(xml, row);
    xml += '"';
    if (settings != nullptr) {
        double height = settings->height.value_or(kDefaultRowHeight);
        bool hidden = settings->hidden;
        // A row of no height is hidden at the default height.
        if (height == 0) {
            hidden = true;
            height = kDefaultRowHeight;
        }
        if (settings->format) {
            const auto style = lxw_format_get_xf_index(formats->get(*settings->format, true));
            if (style != 0) {
                xml += " s=\"";
                appendInt(xml, style);
                xml += '"';
            }
            xml += " customFormat=\"1\"";
        }
        if (height != kDefaultRowHeight) {
            xml += " ht=\"";
            appendHeight(xml, height);
            xml += '"';
        }
        if (hidden) xml += " hidden=\"1\"";
        if (height != kDefaultRowHeight) xml += " customHeight=\"1\"";
    }
    if (cells.empty()) {
        xml += "/>";
    } else {
        xml += '>';
        xml += cells;
        xml += "</row>";
    }
    return LXW_NO_ERROR;
}

SheetStreamWriter::SheetStreamWriter() : d_(std::make_unique<Private>()) {}

SheetStreamWriter::~SheetStreamWriter() = default;

Result<std::unique_ptr<SheetStreamWriter>> SheetStreamWriter::open(const Workbook& layout,
                                                                   const QString& path) {
    using R = Result<std::unique_ptr<SheetStreamWriter>>;
    if (!layout.error().isEmpty()) {
        return R::failure(failure(path, layout.error()));
    }
    if (layout.sheetCount() == 0) {
        return R::failure(failure(path, writerTexts().noSheets));
    }
    // The files are made when the rows are all there, so that a run cut short leaves
    // nothing behind; here their names are only taken, and the target checked as saving
    // checks it.
    const Result<QString> started = startSave(path);
    if (!started) return R::failure(started.error());
    ::unlink(QFile::encodeName(*started).constData());
    const auto [shell, shellError] = createTemporaryBeside(path);
    if (shell.isEmpty()) return R::failure(failure(path, reasonOf(shellError)));
    ::unlink(QFile::encodeName(shell).constData());
    std::unique_ptr<SheetStreamWriter> writer(new SheetStreamWriter);
    Private& d = *writer->d_;
    d.path = path;
    d.shell = shell;
    d.wb = newWorkbook(d.shell);
    if (d.wb == nullptr) return R::failure(failure(path, writerTexts().outOfMemory));
    const Sheet& sheet = layout.sheet(1);
    d.ws = workbook_add_worksheet(d.wb, sheet.name().toUtf8().constData());
    d.rows = DeflatedPiece::open(QFileInfo(path).absolutePath());
    d.sharedStrings = DeflatedPiece::open(QFileInfo(path).absolutePath());
    if (d.ws == nullptr || !d.rows || !d.sharedStrings) {
        const int error = errno;
        return R::failure(
            failure(path, d.ws == nullptr ? writerTexts().outOfMemory : reasonOf(error)));
    }
    d.formats = std::make_unique<FormatCache>(d.wb);
    if (const lxw_error e = writeColumns(d.ws, sheet, *d.formats); e != LXW_NO_ERROR) {
        return R::failure(failure(path, writeFailure(e, 0)));
    }
    // The columns' styles are numbered first, as saveWorkbook's order gives them, so that
    // both write the same table of styles; the cells' are numbered as they come.
    for (const auto& [first, span] : sheet.columnSpans()) {
        if (const auto& format = span.second.format) {
            lxw_format_get_xf_index(d.formats->get(*format, true));
        }
    }
    writeFrozenPanes(d.ws, sheet);
    // A text in the shell makes libxlsxwriter write the table of shared texts and its
    // references; the rows and the table are both replaced when they are put in.
    if (worksheet_write_string(d.ws, 0, 0, "-", nullptr) != LXW_NO_ERROR) {
        return R::failure(failure(path, writerTexts().outOfMemory));
    }
    return R::success(std::move(writer));
}

Status SheetStreamWriter::writeRows(Workbook& book) {
    Private& d = *d_;
    if (!book.error().isEmpty()) {
        return Status::failure(failure(d.path, book.error()));
    }
    Sheet& sheet = book.sheet(1);
    d.xml.clear();
    d.strings.clear();
    lxw_error error = LXW_NO_ERROR;
    auto rowIt = sheet.rows().begin();
    auto cellIt = sheet.cells().begin();
    while (error == LXW_NO_ERROR &&
           (rowIt != sheet.rows().end() || cellIt != sheet.cells().end())) {
        const int row =
            std::min(rowIt != sheet.rows().end() ? rowIt->first : kMaxRows + 1,
                     cellIt != sheet.cells().end() ? cellIt->first.first : kMaxRows + 1);
        // Rows on the disk can't take more.
        if (row <= d.lastRow) {
            error = LXW_ERROR_WORKSHEET_INDEX_OUT_OF_RANGE;
            break;
        }
        d.lastRow = row;
        const Sheet::RowSettings* settings = nullptr;
        if (rowIt != sheet.rows().end() && rowIt->first == row) settings = &(rowIt++)->second;
        auto cellsEnd = cellIt;
        while (cellsEnd != sheet.cells().end() && cellsEnd->first.first == row) ++cellsEnd;
        error = d.appendRow(sheet, row, settings, cellIt, cellsEnd);
        cellIt = cellsEnd;
    }
    sheet.clearRows();
    if (error != LXW_NO_ERROR) {
        return Status::failure(failure(d.path, writeFailure(error, 0)));
    }
    if (!d.rows->write(d.xml) || !d.sharedStrings->write(d.strings)) {
        return Status::failure(failure(d.path, reasonOf(errno)));
    }
    return Status::success();
}

Status SheetStreamWriter::finish(Workbook& book) {
    Private& d = *d_;
    if (Status written = writeRows(book); !written) return written;
    if (!d.rows->end(false) || !d.sharedStrings->end(false)) {
        return Status::failure(failure(d.path, reasonOf(errno)));
    }
    lxw_error result = LXW_NO_ERROR;
    int closeErrno = 0;
    {
        CNumericLocale numeric;
        if (!numeric.ok()) {
            return Status::failure(failure(d.path, writerTexts().numberFormatFailed));
        }
        const lxw_error setup = writePageSetup(d.ws, book.sheet(1).pageSetup());
        errno = 0;
        const lxw_error closed = workbook_close(d.wb);
        d.wb = nullptr;
        closeErrno = errno;
        result = setup != LXW_NO_ERROR ? setup : closed;
    }
    if (result != LXW_NO_ERROR) {
        return Status::failure(failure(d.path, writeFailure(result, closeErrno)));
    }
    const Result<QString> started = startSave(d.path);
    if (!started) return Status::failure(started.error());
    d.temporary = *started;
    if (const auto e =
            spliceSheetRows(d.shell, d.temporary, 1, d.dimension.ref(), std::move(d.rows),
                            d.stringCount, std::move(d.sharedStrings))) {
        return Status::failure(
            failure(d.path, *e != 0 ? reasonOf(*e) : writerTexts().bookWriteError.arg(0)));
    }
    ::unlink(QFile::encodeName(d.shell).constData());
    d.shell.clear();
    const QString temporary = std::exchange(d.temporary, QString());
    return completeSave(temporary, d.path);
}

}  // namespace normativ
