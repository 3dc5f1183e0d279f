#include "loadedworkbook.h"

#include "celladdress.h"
#include "readxlsx.h"

#include <algorithm>

namespace normativ {

QString LoadedWorkbook::sheetName(int sheet) const {
    if (sheet < 1 || sheet > sheetCount()) {
        return {};
    }
    return sheets_[static_cast<std::size_t>(sheet - 1)].name;
}

CellValue LoadedWorkbook::cell(int sheet, int row, int column) const {
    if (sheet < 1 || sheet > sheetCount() || row < 1 || row > kMaxRows || column < 1 ||
        column > kMaxColumns) {
        return {};
    }
    const auto& cells = sheets_[static_cast<std::size_t>(sheet - 1)].cells;
    const std::uint64_t k = key(row, column);
    const auto it =
        std::lower_bound(cells.begin(), cells.end(), k,
                         [](const StoredCell& entry, std::uint64_t v) { return entry.key < v; });
    if (it == cells.end() || it->key != k) {
        return {};
    }
    switch (it->kind) {
        case CellValue::Kind::Number:
            return CellValue::number(it->number);
        case CellValue::Kind::Text: {
            const auto& text = texts_[it->text];
            if (const auto* packaged = std::get_if<std::string>(&text)) {
                return CellValue::text(decodeXmlEscapes(
                    QString::fromUtf8(packaged->data(), static_cast<qsizetype>(packaged->size()))));
            }
            return CellValue::text(std::get<QString>(text));
        }
        case CellValue::Kind::Bool:
            return CellValue::boolean(it->number != 0);
        case CellValue::Kind::Empty:
            break;
    }
    return {};
}

CellValue LoadedWorkbook::cell(int sheet, QStringView address) const {
    const auto ref = parseCellRef(address);
    return ref ? cell(sheet, ref->row, ref->column) : CellValue();
}

int LoadedWorkbook::cellCount(int sheet) const {
    if (sheet < 1 || sheet > sheetCount()) {
        return 0;
    }
    return static_cast<int>(sheets_[static_cast<std::size_t>(sheet - 1)].cells.size());
}

void LoadedWorkbook::addSheet(const QString& name) {
    sheets_.push_back({name, {}});
}

std::uint32_t LoadedWorkbook::addText(QString text) {
    texts_.emplace_back(std::move(text));
    return static_cast<std::uint32_t>(texts_.size() - 1);
}

std::uint32_t LoadedWorkbook::addPackageText(std::string text) {
    texts_.emplace_back(std::move(text));
    return static_cast<std::uint32_t>(texts_.size() - 1);
}

void LoadedWorkbook::appendCell(int row, int column, const CellValue& value) {
    if (sheets_.empty() || value.isEmpty()) {
        return;
    }
    if (value.isText()) {
        appendTextCell(row, column, addText(value.toText()));
        return;
    }
    const double number = value.isBool() ? (value.toBool() ? 1.0 : 0.0) : value.toNumber();
    sheets_.back().cells.push_back({key(row, column), number, 0, value.kind()});
}

void LoadedWorkbook::appendTextCell(int row, int column, std::uint32_t textIndex) {
    if (sheets_.empty() || textIndex >= texts_.size()) {
        return;
    }
    sheets_.back().cells.push_back({key(row, column), 0.0, textIndex, CellValue::Kind::Text});
}

void LoadedWorkbook::finish() {
    const auto byKey = [](const StoredCell& a, const StoredCell& b) { return a.key < b.key; };
    for (auto& sheet : sheets_) {
        auto& cells = sheet.cells;
        // Files list cells in order; only a disordered one pays for the sort's buffer.
        if (!std::is_sorted(cells.begin(), cells.end(), byKey)) {
            std::stable_sort(cells.begin(), cells.end(), byKey);
        }
        // Of several values for one cell the last one read stands.
        std::size_t kept = 0;
        for (std::size_t i = 0; i < cells.size(); ++i) {
            if (kept > 0 && cells[kept - 1].key == cells[i].key) {
                cells[kept - 1] = std::move(cells[i]);
            } else {
                if (kept != i) {
                    cells[kept] = std::move(cells[i]);
                }
                ++kept;
            }
        }
        cells.resize(kept);
    }
}

}  // namespace normativ
