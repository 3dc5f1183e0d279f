#include "workbook.h"
#include "writertexts.h"

#include <QList>

#include <algorithm>
#include <cmath>

namespace normativ {

namespace {

// Formatting a range cell by cell is meant for the fixed layouts of our workbooks; a
// larger range is a caller's mistake, refused instead of filling memory.
constexpr long long kMaxFormattedCells = 1000000;
constexpr int kMaxFormattedRows = 100000;
constexpr double kMaxColumnWidth = 255.0;
constexpr double kMaxRowHeight = 409.0;

}  // namespace

bool Sheet::setName(const QString& name) {
    if (name.isEmpty() || name.size() > 31 || name.startsWith(u'\'') || name.endsWith(u'\'')) {
        return false;
    }
    for (QChar ch : name) {
        if (QStringView(u"[]:*?/\\").contains(ch) || ch.unicode() < 0x20) {
            return false;
        }
    }
    name_ = name;
    return true;
}

void Sheet::fail(const QString& message) {
    if (owner_->error_.isEmpty()) {
        owner_->error_ = writerTexts().onSheet.arg(name_, message);
    }
}

bool Sheet::checkCell(int row, int column) {
    if (row < 1 || row > kMaxRows || column < 1 || column > kMaxColumns) {
        fail(writerTexts().cellOutsideSheet.arg(row).arg(column));
        return false;
    }
    return true;
}

bool Sheet::checkRange(const RangeRef& r) {
    if (r.firstRow < 1 || r.lastRow > kMaxRows || r.firstColumn < 1 || r.lastColumn > kMaxColumns ||
        r.firstRow > r.lastRow || r.firstColumn > r.lastColumn) {
        fail(writerTexts().badRange);
        return false;
    }
    return true;
}

Sheet::Cell& Sheet::cellForWrite(int row, int column) {
    auto it = cells_.find({row, column});
    if (it == cells_.end()) {
        it = cells_.emplace(std::pair(row, column), Cell{{}, format(row, column)}).first;
    }
    return it->second;
}

void Sheet::setValue(int row, int column, const CellValue& value) {
    if (!checkCell(row, column)) {
        return;
    }
    // A spreadsheet holds numbers up to 9.99999999999999E+307 only.
    if (value.isNumber() && !(std::fabs(value.toNumber()) < 1e308)) {
        fail(writerTexts().numberDoesNotFit.arg(cellAddress(row, column)));
        return;
    }
    if (value.isText() && value.toText().size() > kMaxCellTextLength) {
        fail(writerTexts().textTooLong.arg(cellAddress(row, column)).arg(kMaxCellTextLength));
        return;
    }
    cellForWrite(row, column).value = value;
}

void Sheet::setNumber(int row, int column, double value) {
    setValue(row, column, CellValue::number(value));
}

void Sheet::setText(int row, int column, const QString& text) {
    setValue(row, column, CellValue::text(text));
}

void Sheet::setBool(int row, int column, bool value) {
    setValue(row, column, CellValue::boolean(value));
}

void Sheet::setValue(QStringView address, const CellValue& value) {
    const auto cell = parseCellRef(address);
    if (!cell) {
        fail(writerTexts().badAddress.arg(address));
        return;
    }
    setValue(cell->row, cell->column, value);
}

void Sheet::setNumber(QStringView address, double value) {
    setValue(address, CellValue::number(value));
}

void Sheet::setText(QStringView address, const QString& text) {
    setValue(address, CellValue::text(text));
}

CellValue Sheet::value(int row, int column) const {
    const auto it = cells_.find({row, column});
    return it == cells_.end() ? CellValue() : it->second.value;
}

CellValue Sheet::value(QStringView address) const {
    const auto cell = parseCellRef(address);
    return cell ? value(cell->row, cell->column) : CellValue();
}

Sheet::ColumnSettings Sheet::columnSettings(int column) const {
    auto it = columns_.upper_bound(column);
    if (it == columns_.begin()) {
        return {};
    }
    --it;
    return it->second.first >= column ? it->second.second : ColumnSettings{};
}

CellFormat Sheet::format(int row, int column) const {
    if (const auto it = cells_.find({row, column}); it != cells_.end()) {
        return it->second.format;
    }
    if (const auto it = rows_.find(row); it != rows_.end() && it->second.format) {
        return *it->second.format;
    }
    if (auto settings = columnSettings(column); settings.format) {
        return *settings.format;
    }
    return {};
}

CellFormat Sheet::format(QStringView address) const {
    const auto cell = parseCellRef(address);
    return cell ? format(cell->row, cell->column) : CellFormat();
}

void Sheet::splitColumns(int first, int last) {
    const auto splitAt = [this](int at) {
        if (at > kMaxColumns) {
            return;
        }
        auto it = columns_.upper_bound(at);
        if (it == columns_.begin()) {
            return;
        }
        --it;
        if (it->first < at && it->second.first >= at) {
            auto tail = it->second;
            it->second.first = at - 1;
            columns_[at] = tail;
        }
    };
    splitAt(first);
    splitAt(last + 1);
    int c = first;
    while (c <= last) {
        if (const auto it = columns_.find(c); it != columns_.end()) {
            c = it->second.first + 1;
            continue;
        }
        const auto next = columns_.upper_bound(c);
        const int gapEnd = (next == columns_.end() || next->first > last) ? last : next->first - 1;
        columns_[c] = {gapEnd, ColumnSettings{}};
        c = gapEnd + 1;
    }
}

template <typename F>
void Sheet::forColumns(int first, int last, F&& f) {
    splitColumns(first, last);
    for (auto it = columns_.find(first); it != columns_.end() && it->first <= last; ++it) {
        f(it->second.second);
    }
    // Keep the spans few: join neighbours with equal settings, drop default ones.
    for (auto it = columns_.begin(); it != columns_.end();) {
        if (it->second.second == ColumnSettings{}) {
            it = columns_.erase(it);
            continue;
        }
        auto next = std::next(it);
        if (next != columns_.end() && next->first == it->second.first + 1 &&
            next->second.second == it->second.second) {
            it->second.first = next->second.first;
            columns_.erase(next);
            continue;
        }
        it = next;
    }
}

void Sheet::formatRange(const RangeRef& range, const FormatChange& change) {
    if (!checkRange(range)) {
        return;
    }
    if (range.wholeColumns()) {
        forColumns(range.firstColumn, range.lastColumn, [&](ColumnSettings& s) {
            CellFormat f = s.format.value_or(CellFormat{});
            change(f);
            s.format = f;
        });
        for (auto& [key, cell] : cells_) {
            if (key.second >= range.firstColumn && key.second <= range.lastColumn) {
                change(cell.format);
            }
        }
        return;
    }
    if (range.wholeRows()) {
        if (range.lastRow - range.firstRow + 1 > kMaxFormattedRows) {
            fail(writerTexts().tooManyRowsToFormat);
            return;
        }
        for (int r = range.firstRow; r <= range.lastRow; ++r) {
            auto& settings = rows_[r];
            CellFormat f = settings.format.value_or(CellFormat{});
            change(f);
            settings.format = f;
        }
        for (auto& [key, cell] : cells_) {
            if (key.first >= range.firstRow && key.first <= range.lastRow) {
                change(cell.format);
            }
        }
        return;
    }
    if (range.cellCount() > kMaxFormattedCells) {
        fail(writerTexts().rangeTooLargeToFormat);
        return;
    }
    for (int r = range.firstRow; r <= range.lastRow; ++r) {
        for (int c = range.firstColumn; c <= range.lastColumn; ++c) {
            change(cellForWrite(r, c).format);
        }
    }
}

void Sheet::formatRange(QStringView range, const FormatChange& change) {
    const auto parsed = parseRange(range);
    if (!parsed) {
        fail(writerTexts().badNamedRange.arg(range));
        return;
    }
    formatRange(*parsed, change);
}

void Sheet::setBorders(const RangeRef& range, BorderStyle outline, BorderStyle inside) {
    if (!checkRange(range)) {
        return;
    }
    if (range.cellCount() > kMaxFormattedCells) {
        fail(writerTexts().rangeTooLargeForBorders);
        return;
    }
    const auto set = [](BorderStyle& edge, BorderStyle style) {
        if (style != BorderStyle::None) {
            edge = style;
        }
    };
    for (int r = range.firstRow; r <= range.lastRow; ++r) {
        for (int c = range.firstColumn; c <= range.lastColumn; ++c) {
            CellFormat& f = cellForWrite(r, c).format;
            set(f.top, r == range.firstRow ? outline : inside);
            set(f.bottom, r == range.lastRow ? outline : inside);
            set(f.left, c == range.firstColumn ? outline : inside);
            set(f.right, c == range.lastColumn ? outline : inside);
        }
    }
}

void Sheet::setBorders(QStringView range, BorderStyle outline, BorderStyle inside) {
    const auto parsed = parseRange(range);
    if (!parsed) {
        fail(writerTexts().badNamedRange.arg(range));
        return;
    }
    setBorders(*parsed, outline, inside);
}

bool Sheet::mergeCells(const RangeRef& range) {
    if (!checkRange(range) || range.cellCount() < 2 || range.cellCount() > kMaxFormattedCells) {
        return false;
    }
    for (const auto& m : merged_) {
        const bool apart = range.lastRow < m.firstRow || m.lastRow < range.firstRow ||
                           range.lastColumn < m.firstColumn || m.lastColumn < range.firstColumn;
        if (!apart) {
            return false;
        }
    }
    merged_.push_back(range);
    return true;
}

bool Sheet::mergeCells(QStringView range) {
    const auto parsed = parseRange(range);
    return parsed && mergeCells(*parsed);
}

void Sheet::setPageSetup(const PageSetup& setup) {
    if (setup.printArea && !checkRange(*setup.printArea)) {
        return;
    }
    if (setup.repeatedRows &&
        !checkRange({setup.repeatedRows->first, 1, setup.repeatedRows->last, 1})) {
        return;
    }
    // The spreadsheet keeps a fit in 16 bits and margins as non-negative inches.
    const auto pages = [](int n) { return n >= 0 && n <= 32767; };
    const auto inches = [](double d) { return std::isfinite(d) && d >= 0 && d <= 49; };
    const bool fitOk = !setup.fit || (pages(setup.fit->wide) && pages(setup.fit->tall));
    const bool marginsOk =
        !setup.margins || (inches(setup.margins->left) && inches(setup.margins->right) &&
                           inches(setup.margins->top) && inches(setup.margins->bottom));
    if (!fitOk || !marginsOk || setup.footer.size() > kMaxFooterLength) {
        fail(writerTexts().badPageSetup);
        return;
    }
    pageSetup_ = setup;
}

std::optional<RangeRef> Sheet::valueBounds() const {
    std::optional<RangeRef> bounds;
    for (const auto& [key, cell] : cells_) {
        if (cell.value.isEmpty()) continue;
        const auto [row, column] = key;
        if (!bounds) {
            bounds = RangeRef{row, column, row, column};
            continue;
        }
        bounds->firstRow = std::min(bounds->firstRow, row);
        bounds->lastRow = std::max(bounds->lastRow, row);
        bounds->firstColumn = std::min(bounds->firstColumn, column);
        bounds->lastColumn = std::max(bounds->lastColumn, column);
    }
    return bounds;
}

double Sheet::columnsWidth(int firstColumn, int lastColumn) const {
    constexpr double kDefaultWidth = 8.43;
    double width = 0;
    for (int column = firstColumn; column <= lastColumn; ++column) {
        const ColumnSettings settings = columnSettings(column);
        if (!settings.hidden) width += settings.width.value_or(kDefaultWidth);
    }
    return width;
}

void Sheet::setColumnWidth(int firstColumn, int lastColumn, double width) {
    if (!checkRange({1, firstColumn, 1, lastColumn})) {
        return;
    }
    if (!(width >= 0 && width <= kMaxColumnWidth)) {
        fail(writerTexts().badColumnWidth);
        return;
    }
    forColumns(firstColumn, lastColumn, [&](ColumnSettings& s) { s.width = width; });
}

void Sheet::setColumnsHidden(int firstColumn, int lastColumn, bool hidden) {
    if (!checkRange({1, firstColumn, 1, lastColumn})) {
        return;
    }
    forColumns(firstColumn, lastColumn, [&](ColumnSettings& s) { s.hidden = hidden; });
}

void Sheet::setRowHeight(int row, double points) {
    if (!checkCell(row, 1)) {
        return;
    }
    if (!(points >= 0 && points <= kMaxRowHeight)) {
        fail(writerTexts().badRowHeight);
        return;
    }
    rows_[row].height = points;
}

void Sheet::setRowHidden(int row, bool hidden) {
    if (checkCell(row, 1)) {
        rows_[row].hidden = hidden;
    }
}

void Sheet::setRowsHiddenFrom(int firstHiddenRow) {
    if (firstHiddenRow == 0 || checkCell(firstHiddenRow, 1)) {
        rowsHiddenFrom_ = firstHiddenRow;
    }
}

void Sheet::freezePanes(int row, int column) {
    if (checkCell(row, column)) {
        frozen_ = CellRef{row, column};
    }
}

void Sheet::clearRows() {
    cells_.clear();
    rows_.clear();
}

Workbook::Workbook(Workbook&& other) noexcept
    : sheets_(std::move(other.sheets_)), error_(std::move(other.error_)) {
    for (auto& sheet : sheets_) {
        sheet->owner_ = this;
    }
}

Workbook& Workbook::operator=(Workbook&& other) noexcept {
    sheets_ = std::move(other.sheets_);
    error_ = std::move(other.error_);
    for (auto& sheet : sheets_) {
        sheet->owner_ = this;
    }
    return *this;
}

Sheet& Workbook::addSheet(const QString& name) {
    const QString fallback = writerTexts().defaultSheetName.arg(sheets_.size() + 1);
    sheets_.push_back(std::unique_ptr<Sheet>(new Sheet(this, fallback)));
    Sheet& sheet = *sheets_.back();
    if (!name.isEmpty() && !sheet.setName(name)) {
        sheet.fail(writerTexts().badSheetName.arg(name));
    }
    return sheet;
}

namespace {

// Average character width as a share of the font's em: generous for Cyrillic text in
// the usual proportional fonts, so that an estimate errs towards a taller row rather than
// cut-off text.
constexpr double kAverageCharEm = 0.5;

int charsPerLine(double columnWidth, double fontSize) {
    // A column width counts digits of the default font, 7 pixels each at 96 dpi, plus
    // 5 pixels of padding; of those, a few pixels are the cell's margins.
    const double pixels = columnWidth * 7.0 + 5.0 - 6.0;
    const double charPixels = kAverageCharEm * fontSize * 96.0 / 72.0;
    return std::max(1, static_cast<int>(pixels / charPixels));
}

}  // namespace

int wrappedLineCount(const QString& text, double columnWidth, double fontSize) {
    if (!(fontSize > 0) || !(columnWidth > 0)) {
        return 1;
    }
    const int perLine = charsPerLine(columnWidth, fontSize);
    int lines = 0;
    for (const QStringView paragraph : QStringView(text).split(u'\n')) {
        int used = 0;  // characters on the current line
        int paragraphLines = 1;
        for (const QStringView word : paragraph.split(u' ', Qt::SkipEmptyParts)) {
            const int len = static_cast<int>(word.size());
            if (used > 0 && used + 1 + len <= perLine) {
                used += 1 + len;
                continue;
            }
            if (used > 0) {
                ++paragraphLines;
            }
            // A word longer than a line breaks across lines.
            paragraphLines += (len - 1) / perLine;
            used = len - ((len - 1) / perLine) * perLine;
        }
        lines += paragraphLines;
    }
    return std::max(1, lines);
}

QString footerLiteral(const QString& text) {
    QString out = text;
    return out.replace(u'&', QStringLiteral("&&"));
}

QString printFooter(const QStringList& captions) {
    const QString separator = QStringLiteral(", ");
    QStringList parts;
    for (const QString& caption : captions) {
        if (!caption.simplified().isEmpty()) parts << caption.simplified();
    }
    const auto footer = [&](const QStringList& texts) {
        QStringList escaped;
        for (const QString& text : texts) escaped << footerLiteral(text);
        escaped << writerTexts().pageNumbers;
        return escaped.join(separator);
    };
    QString result = footer(parts);
    // A long name gives way, a character at a time once the escapes are counted.
    if (result.size() > kMaxFooterLength && !parts.isEmpty()) {
        QString& first = parts.front();
        const qsizetype excess = result.size() - kMaxFooterLength + 1;  // 1 for the ellipsis
        first.truncate(std::max<qsizetype>(0, footerLiteral(first).size() - excess));
        while (true) {
            if (!first.isEmpty() && first.back().isHighSurrogate()) first.chop(1);
            QStringList shortened = parts;
            shortened.front() = first + QChar(u'…');
            result = footer(shortened);
            if (result.size() <= kMaxFooterLength || first.isEmpty()) break;
            first.chop(1);
        }
    }
    return result;
}

double wrappedRowHeight(const QString& text, double columnWidth, double fontSize) {
    const double size = fontSize > 0 ? fontSize : 11.0;
    // A line takes about 1.31 em; rows snap to whole pixels (0.75 point).
    const double line = std::max(15.0, std::ceil(size * 1.3125 / 0.75) * 0.75);
    const double lineHeight = std::ceil(size * 1.3125 / 0.75) * 0.75;
    const int lines = wrappedLineCount(text, columnWidth, size);
    const double height = lines == 1 ? line : lines * lineHeight + (line - lineHeight);
    return std::min(kMaxRowHeight, height);
}

}  // namespace normativ
