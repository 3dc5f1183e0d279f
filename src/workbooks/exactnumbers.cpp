#include "exactnumbers.h"

#include "deflatedpart.h"

#include <QFile>
#include <QFileInfo>

#include <zip.h>

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <string_view>

namespace normativ {

std::optional<std::string> exactNumberText(double value) {
    char buffer[64];
    const auto written =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 16);
    double back = 0;
    std::from_chars(buffer, written.ptr, back);
    if (back == value) return std::nullopt;
    const auto shortest = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, shortest.ptr);
}

namespace {

// The system's error number behind a failure of the archive, 0 when there is none.
int systemError(zip_t* archive) {
    zip_error_t* error = zip_get_error(archive);
    return zip_error_system_type(error) == ZIP_ET_SYS ? zip_error_code_system(error) : 0;
}

struct SheetRewrite {
    int sheet = 0;
    NextNumberCellText next;
};

// Copies one sheet's XML from `in` to `out` with the value texts of the cells `next`
// names replaced, scanning forward only (the cells were written in row-major order) and
// holding no more than a chunk and a cell. Nothing on success; otherwise the system's
// error number, or 0 when the sheet is not as written.
class ValueReplacer {
  public:
    ValueReplacer(zip_file_t* in, DeflatedPiece& out) : in_(in), out_(out) {}

    std::optional<int> run(const NextNumberCellText& next) {
        for (std::optional<NumberCellText> cell = next(); cell; cell = next()) {
            const std::string needle = "<c r=\"" + cell->address.toStdString() + "\"";
            if (!findCell(needle)) return writeFailed_;
            std::size_t cellEnd = 0;
            while ((cellEnd = buffer_.find("</c>", begin_)) == std::string::npos) {
                if (!fill()) return 0;
            }
            const std::size_t valueStart = buffer_.find("<v>", begin_);
            if (valueStart == std::string::npos || valueStart > cellEnd) return 0;
            const std::size_t valueEnd = buffer_.find("</v>", valueStart);
            if (valueEnd == std::string::npos || valueEnd > cellEnd) return 0;
            if (!emitUpTo(valueStart + 3) || !write(cell->text)) return errno;
            begin_ = valueEnd;
        }
        do {
            if (!emitUpTo(buffer_.size())) return errno;
        } while (fill());
        if (readFailed_) return 0;
        return std::nullopt;
    }

  private:
    // Writes out everything before the cell, which begins with the needle followed by a
    // blank or the tag's end; false when the sheet ends first or can't be copied.
    bool findCell(const std::string& needle) {
        std::size_t from = begin_;
        for (;;) {
            const std::size_t at = buffer_.find(needle, from);
            if (at != std::string::npos && at + needle.size() < buffer_.size()) {
                const char after = buffer_[at + needle.size()];
                if (after == ' ' || after == '>') {
                    if (emitUpTo(at)) return true;
                    writeFailed_ = errno;
                    return false;
                }
                from = at + needle.size();
                continue;
            }
            // Keep what may be the start of the cell, cut by the chunk's end.
            const std::size_t keepFrom =
                at != std::string::npos
                    ? at
                    : std::max(begin_, buffer_.size() - std::min(buffer_.size(), needle.size()));
            if (!emitUpTo(keepFrom)) {
                writeFailed_ = errno;
                return false;
            }
            if (!fill()) return false;
            from = begin_;
        }
    }

    // Appends the next chunk, dropping what was written out; false at the end of the part
    // or when it can't be read.
    bool fill() {
        char chunk[64 * 1024];
        const zip_int64_t n = zip_fread(in_, chunk, sizeof chunk);
        if (n < 0) readFailed_ = true;
        if (n <= 0) return false;
        buffer_.erase(0, begin_);
        begin_ = 0;
        buffer_.append(chunk, static_cast<std::size_t>(n));
        return true;
    }

    bool write(std::string_view text) { return out_.write(text); }

    // Writes out the buffer from where it was last written up to `end`.
    bool emitUpTo(std::size_t end) {
        if (!write(std::string_view(buffer_).substr(begin_, end - begin_))) return false;
        begin_ = end;
        return true;
    }

    zip_file_t* in_;
    DeflatedPiece& out_;
    std::string buffer_;
    std::size_t begin_ = 0;  // what comes before was written out
    bool readFailed_ = false;
    int writeFailed_ = 0;
};

std::optional<int> rewriteSheets(const QString& path, const std::vector<SheetRewrite>& sheets) {
    if (sheets.empty()) return std::nullopt;
    const QByteArray name = QFile::encodeName(path);
    int error = 0;
    zip_t* archive = openPackage(path, 0, error);
    if (archive == nullptr) return error;
    // The sheets as written are read from a second handle while the first replaces them.
    zip_t* written = zip_open(name.constData(), ZIP_RDONLY, &error);
    const auto fail = [&](int code) -> std::optional<int> {
        zip_discard(archive);
        if (written != nullptr) zip_discard(written);
        return code;
    };
    if (written == nullptr) return fail(0);
    const QString folder = QFileInfo(path).absolutePath();
    for (const SheetRewrite& sheet : sheets) {
        const std::string entry = "xl/worksheets/sheet" + std::to_string(sheet.sheet) + ".xml";
        const zip_int64_t index = zip_name_locate(archive, entry.c_str(), 0);
        const zip_int64_t writtenIndex = zip_name_locate(written, entry.c_str(), 0);
        if (index < 0 || writtenIndex < 0) return fail(0);
        std::unique_ptr<DeflatedPiece> out = DeflatedPiece::open(folder);
        if (!out) return fail(errno);
        zip_file_t* in = zip_fopen_index(written, static_cast<zip_uint64_t>(writtenIndex), 0);
        if (in == nullptr) return fail(systemError(written));
        std::optional<int> copied = ValueReplacer(in, *out).run(sheet.next);
        zip_fclose(in);
        if (!copied && !out->end(true)) copied = errno;
        if (copied) return fail(*copied);
        std::vector<std::unique_ptr<DeflatedPiece>> pieces;
        pieces.push_back(std::move(out));
        zip_source_t* source = deflatedSource(archive, std::move(pieces));
        if (source == nullptr) return fail(systemError(archive));
        const auto at = static_cast<zip_uint64_t>(index);
        if (zip_file_replace(archive, at, source, 0) != 0) {
            zip_source_free(source);
            return fail(systemError(archive));
        }
        if (zip_set_file_compression(archive, at, ZIP_CM_DEFLATE, 0) != 0) {
            return fail(systemError(archive));
        }
    }
    if (zip_close(archive) != 0) return fail(systemError(archive));
    zip_discard(written);
    return std::nullopt;
}

}  // namespace

std::optional<int> rewriteNumberTexts(const QString& path,
                                      const std::vector<SheetNumberTexts>& sheets) {
    std::vector<SheetRewrite> rewrites;
    for (const SheetNumberTexts& sheet : sheets) {
        rewrites.push_back({sheet.sheet, [&cells = sheet.cells, i = std::size_t{0}]() mutable {
                                return i < cells.size() ? std::optional(cells[i++]) : std::nullopt;
                            }});
    }
    return rewriteSheets(path, rewrites);
}

std::optional<int> rewriteNumberTexts(const QString& path, int sheet,
                                      const NextNumberCellText& next) {
    return rewriteSheets(path, {{sheet, next}});
}

}  // namespace normativ
