#include "celladdress.h"

#include <algorithm>

namespace normativ {

namespace {

bool isLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Latin-1 copy of a short ASCII text; nothing when it is long or not ASCII.
std::optional<std::string> asciiOf(QStringView text) {
    if (text.size() > 32) {
        return std::nullopt;
    }
    std::string out;
    for (QChar ch : text) {
        if (ch.unicode() > 0x7f) {
            return std::nullopt;
        }
        out.push_back(static_cast<char>(ch.unicode()));
    }
    return out;
}

std::optional<int> rowFromDigits(std::string_view digits) {
    if (digits.empty() || digits.size() > 7 || digits.front() == '0') {
        return std::nullopt;
    }
    int row = 0;
    for (char c : digits) {
        if (!isDigit(c)) {
            return std::nullopt;
        }
        row = row * 10 + (c - '0');
    }
    if (row < 1 || row > kMaxRows) {
        return std::nullopt;
    }
    return row;
}

std::string_view stripDollar(std::string_view s) {
    if (!s.empty() && s.front() == '$') {
        s.remove_prefix(1);
    }
    return s;
}

}  // namespace

std::optional<int> columnFromLetters(std::string_view letters) {
    if (letters.empty() || letters.size() > 3) {
        return std::nullopt;
    }
    int column = 0;
    for (char c : letters) {
        if (!isLetter(c)) {
            return std::nullopt;
        }
        const int upper = (c >= 'a') ? c - 'a' : c - 'A';
        column = column * 26 + upper + 1;
    }
    if (column > kMaxColumns) {
        return std::nullopt;
    }
    return column;
}

std::optional<int> columnFromLetters(QStringView letters) {
    const auto ascii = asciiOf(letters);
    return ascii ? columnFromLetters(std::string_view(*ascii)) : std::nullopt;
}

QString columnLetters(int column) {
    if (column < 1 || column > kMaxColumns) {
        return {};
    }
    QString letters;
    while (column > 0) {
        const int rest = (column - 1) % 26;
        letters.prepend(QChar(u'A' + rest));
        column = (column - 1) / 26;
    }
    return letters;
}

std::optional<CellRef> parseCellRef(std::string_view address) {
    address = stripDollar(address);
    std::size_t split = 0;
    while (split < address.size() && isLetter(address[split])) {
        ++split;
    }
    const auto column = columnFromLetters(address.substr(0, split));
    if (!column) {
        return std::nullopt;
    }
    const auto row = rowFromDigits(stripDollar(address.substr(split)));
    if (!row) {
        return std::nullopt;
    }
    return CellRef{*row, *column};
}

std::optional<CellRef> parseCellRef(QStringView address) {
    const auto ascii = asciiOf(address);
    return ascii ? parseCellRef(std::string_view(*ascii)) : std::nullopt;
}

QString cellAddress(int row, int column) {
    if (row < 1 || row > kMaxRows || column < 1 || column > kMaxColumns) {
        return {};
    }
    return columnLetters(column) + QString::number(row);
}

QString cellAddress(const CellRef& cell) {
    return cellAddress(cell.row, cell.column);
}

std::optional<RangeRef> parseRange(QStringView text) {
    const auto ascii = asciiOf(text);
    if (!ascii) {
        return std::nullopt;
    }
    const std::string_view s(*ascii);
    const auto colon = s.find(':');
    const std::string_view first = s.substr(0, colon);
    const std::string_view last = colon == std::string_view::npos ? first : s.substr(colon + 1);

    RangeRef range;
    if (const auto a = parseCellRef(first)) {
        const auto b = parseCellRef(last);
        if (!b) {
            return std::nullopt;
        }
        range = {a->row, a->column, b->row, b->column};
    } else if (const auto ca = columnFromLetters(stripDollar(first))) {
        const auto cb = columnFromLetters(stripDollar(last));
        if (!cb) {
            return std::nullopt;
        }
        range = {1, *ca, kMaxRows, *cb};
    } else if (const auto ra = rowFromDigits(stripDollar(first))) {
        const auto rb = rowFromDigits(stripDollar(last));
        if (!rb) {
            return std::nullopt;
        }
        range = {*ra, 1, *rb, kMaxColumns};
    } else {
        return std::nullopt;
    }
    if (range.firstRow > range.lastRow) {
        std::swap(range.firstRow, range.lastRow);
    }
    if (range.firstColumn > range.lastColumn) {
        std::swap(range.firstColumn, range.lastColumn);
    }
    return range;
}

}  // namespace normativ
