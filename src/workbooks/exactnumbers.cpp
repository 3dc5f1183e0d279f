#include "exactnumbers.h"

#include <QFile>

#include <zip.h>

#include <charconv>
#include <list>

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

// The value texts of the cells replaced in one sheet's XML, scanning forward only: the
// cells were written in row-major order.
bool replaceValues(std::string& xml, const std::vector<NumberCellText>& cells) {
    std::string result;
    result.reserve(xml.size() + cells.size() * 4);
    std::size_t from = 0;
    for (const NumberCellText& cell : cells) {
        const std::string needle = "<c r=\"" + cell.address.toStdString() + "\"";
        std::size_t at = from;
        for (;;) {
            at = xml.find(needle, at);
            if (at == std::string::npos) return false;
            const char next = at + needle.size() < xml.size() ? xml[at + needle.size()] : '\0';
            if (next == ' ' || next == '>') break;
            at += needle.size();
        }
        const std::size_t valueStart = xml.find("<v>", at);
        const std::size_t cellEnd = xml.find("</c>", at);
        if (valueStart == std::string::npos || cellEnd == std::string::npos ||
            valueStart > cellEnd) {
            return false;
        }
        const std::size_t valueEnd = xml.find("</v>", valueStart);
        if (valueEnd == std::string::npos || valueEnd > cellEnd) return false;
        result.append(xml, from, valueStart + 3 - from);
        result += cell.text;
        from = valueEnd;
    }
    result.append(xml, from, std::string::npos);
    xml = std::move(result);
    return true;
}

}  // namespace

std::optional<int> rewriteNumberTexts(const QString& path,
                                      const std::vector<SheetNumberTexts>& sheets) {
    if (sheets.empty()) return std::nullopt;
    int error = 0;
    const QByteArray name = QFile::encodeName(path);
    zip_t* archive = zip_open(name.constData(), 0, &error);
    if (archive == nullptr) {
        zip_error_t e;
        zip_error_init_with_code(&e, error);
        const int code = zip_error_system_type(&e) == ZIP_ET_SYS ? zip_error_code_system(&e) : 0;
        zip_error_fini(&e);
        return code;
    }
    // The new texts must live until the archive is closed.
    std::list<std::string> texts;
    const auto fail = [&](int code) -> std::optional<int> {
        zip_discard(archive);
        return code;
    };
    for (const SheetNumberTexts& sheet : sheets) {
        const std::string entry = "xl/worksheets/sheet" + std::to_string(sheet.sheet) + ".xml";
        zip_stat_t stat;
        zip_stat_init(&stat);
        if (zip_stat(archive, entry.c_str(), 0, &stat) != 0 || !(stat.valid & ZIP_STAT_SIZE) ||
            !(stat.valid & ZIP_STAT_INDEX)) {
            return fail(systemError(archive));
        }
        std::string& xml = texts.emplace_back(stat.size, '\0');
        zip_file_t* file = zip_fopen_index(archive, stat.index, 0);
        if (file == nullptr) return fail(systemError(archive));
        const zip_int64_t read = zip_fread(file, xml.data(), xml.size());
        zip_fclose(file);
        if (read < 0 || static_cast<zip_uint64_t>(read) != stat.size) {
            return fail(systemError(archive));
        }
        if (!replaceValues(xml, sheet.cells)) {
            return fail(0);
        }
        zip_source_t* source = zip_source_buffer(archive, xml.data(), xml.size(), 0);
        if (source == nullptr) return fail(systemError(archive));
        if (zip_file_replace(archive, stat.index, source, 0) != 0) {
            zip_source_free(source);
            return fail(systemError(archive));
        }
    }
    if (zip_close(archive) != 0) return fail(systemError(archive));
    return {};
}

}  // namespace normativ
