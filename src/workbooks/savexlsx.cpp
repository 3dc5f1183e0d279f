#include "savexlsx.h"
#include "writertexts.h"

#include "exactnumbers.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <xlsxwriter.h>

#include <fcntl.h>
#include <locale.h>
#include <unistd.h>
#include <cerrno>
#include <cfloat>
#include <clocale>
#include <cmath>
#include <set>

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

lxw_error writeSheet(lxw_workbook* wb, const Sheet& sheet, FormatCache& formats) {
    ErrorKeeper check;
    const QByteArray name = sheet.name().toUtf8();
    lxw_worksheet* ws = workbook_add_worksheet(wb, name.constData());
    if (ws == nullptr) {
        return LXW_ERROR_MEMORY_MALLOC_FAILED;
    }

    for (const auto& [first, span] : sheet.columnSpans()) {
        const auto& [last, settings] = span;
        const double width = settings.width.value_or(LXW_DEF_COL_WIDTH);
        lxw_row_col_options options{};
        options.hidden = (settings.hidden || width == 0) ? 1 : 0;
        lxw_format* format = settings.format ? formats.get(*settings.format, true) : nullptr;
        check(worksheet_set_column_opt(ws, static_cast<lxw_col_t>(first - 1),
                                       static_cast<lxw_col_t>(last - 1), width, format, &options));
    }

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
        const Sheet::RowSettings settings =
            it == sheet.rows().end() ? Sheet::RowSettings{} : it->second;
        const double height = settings.height.value_or(LXW_DEF_ROW_HEIGHT);
        lxw_row_col_options options{};
        options.hidden =
            (settings.hidden || height == 0 || (hiddenFrom > 0 && row >= hiddenFrom)) ? 1 : 0;
        lxw_format* format = settings.format ? formats.get(*settings.format, true) : nullptr;
        check(worksheet_set_row_opt(ws, static_cast<lxw_row_t>(row - 1), height, format, &options));
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
        const auto [row, column] = key;
        const auto rowIt = sheet.rows().find(row);
        const bool lineFormatted = (rowIt != sheet.rows().end() && rowIt->second.format) ||
                                   sheet.columnSettings(column).format.has_value();
        bool inMerge = false;
        for (const RangeRef& m : sheet.mergedRanges()) {
            inMerge = inMerge || m.contains(row, column);
        }
        lxw_format* format = formats.get(cell.format, lineFormatted || inMerge);
        check(writeCell(ws, row, column, cell.value, format));
    }

    if (const auto frozen = sheet.frozenAt()) {
        worksheet_freeze_panes(ws, static_cast<lxw_row_t>(frozen->row - 1),
                               static_cast<lxw_col_t>(frozen->column - 1));
    }
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

    const QFileInfo target(path);
    if (target.isDir()) {
        return Status::failure(failure(path, reasonOf(EISDIR)));
    }
    const auto [temporary, createError] = createTemporaryBeside(path);
    if (temporary.isEmpty()) {
        return Status::failure(failure(path, reasonOf(createError)));
    }
    const QByteArray temporaryName = QFile::encodeName(temporary);
    const auto discard = [&](const QString& reason) {
        ::unlink(temporaryName.constData());
        return Status::failure(failure(path, reason));
    };

    lxw_error result = LXW_NO_ERROR;
    int closeErrno = 0;
    {
        CNumericLocale numeric;
        if (!numeric.ok()) {
            return discard(writerTexts().numberFormatFailed);
        }
        QByteArray folder = QFile::encodeName(target.absolutePath());
        lxw_workbook_options options{};
        // libxlsxwriter's scratch files go beside the target too: known to be writable.
        options.tmpdir = folder.data();
        lxw_workbook* wb = workbook_new_opt(temporaryName.constData(), &options);
        if (wb == nullptr) {
            return discard(writerTexts().outOfMemory);
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
        if (closeErrno != 0) return discard(reasonOf(closeErrno));
        return discard(writerTexts().bookWriteError.arg(static_cast<int>(result)));
    }
    if (const auto e = rewriteNumberTexts(temporary, inexactNumbers(workbook))) {
        return discard(*e != 0 ? reasonOf(*e) : writerTexts().numbersWriteError);
    }
    if (const int e = syncPath(temporaryName, false); e != 0) {
        return discard(reasonOf(e));
    }
    if (beforeRenameHook != nullptr) beforeRenameHook();
    if (::rename(temporaryName.constData(), QFile::encodeName(path).constData()) != 0) {
        return discard(reasonOf(errno));
    }
    syncPath(QFile::encodeName(target.absolutePath()), true);
    return Status::success();
}

}  // namespace normativ
