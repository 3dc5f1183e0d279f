#include "deflatedpart.h"

#include "scratchfile.h"

#include <QFile>
#include <QFileInfo>

#include <zlib.h>

#include <cerrno>

namespace normativ {

struct DeflatedPiece::Stream {
    z_stream z{};
};

std::unique_ptr<DeflatedPiece> DeflatedPiece::open(const QString& folder) {
    std::FILE* file = openScratchFile(folder);
    if (file == nullptr) return nullptr;
    return std::unique_ptr<DeflatedPiece>(new DeflatedPiece(file));
}

DeflatedPiece::DeflatedPiece(std::FILE* file)
    : file_(file), stream_(std::make_unique<Stream>()), crc_(crc32_z(0, Z_NULL, 0)) {
    ok_ = deflateInit2(&stream_->z, Z_BEST_SPEED, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) ==
          Z_OK;
}

DeflatedPiece::~DeflatedPiece() {
    deflateEnd(&stream_->z);
    if (file_ != nullptr) std::fclose(file_);
}

bool DeflatedPiece::write(std::string_view bytes) {
    if (bytes.empty()) return true;
    crc_ = crc32_z(crc_, reinterpret_cast<const Bytef*>(bytes.data()), bytes.size());
    size_ += bytes.size();
    return pump(bytes, Z_NO_FLUSH);
}

bool DeflatedPiece::end(bool last) {
    // A full flush leaves the stream on a byte boundary without a final block, so that
    // the next piece's blocks follow on: the pieces decompress as one.
    return pump({}, last ? Z_FINISH : Z_FULL_FLUSH) && std::fflush(file_) == 0;
}

bool DeflatedPiece::copyCompressed(const std::function<bool(std::string_view)>& write) const {
    if (std::fseek(file_, 0, SEEK_SET) != 0) return false;
    char chunk[64 * 1024];
    std::size_t n = 0;
    while ((n = std::fread(chunk, 1, sizeof chunk, file_)) > 0) {
        if (!write(std::string_view(chunk, n))) return false;
    }
    return std::ferror(file_) == 0;
}

bool DeflatedPiece::pump(std::string_view bytes, int flush) {
    if (!ok_) return false;
    z_stream& z = stream_->z;
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
    z.avail_in = static_cast<uInt>(bytes.size());
    unsigned char chunk[64 * 1024];
    int result = Z_OK;
    do {
        z.next_out = chunk;
        z.avail_out = sizeof chunk;
        result = deflate(&z, flush);
        if (result == Z_STREAM_ERROR) {
            errno = 0;
            return ok_ = false;
        }
        const std::size_t n = sizeof chunk - z.avail_out;
        if (std::fwrite(chunk, 1, n, file_) != n) return ok_ = false;
        compressed_ += n;
    } while (z.avail_out == 0 || (flush == Z_FINISH && result != Z_STREAM_END));
    return true;
}

namespace {

// The pieces read one after the other, reported to libzip as data deflated already.
struct SourceState {
    std::vector<std::unique_ptr<DeflatedPiece>> pieces;
    std::vector<std::FILE*> files;
    std::size_t current = 0;
    zip_uint64_t size = 0;
    zip_uint64_t compressed = 0;
    unsigned long crc = 0;
    zip_error_t error{};
};

zip_int64_t readPieces(SourceState& state, void* data, zip_uint64_t length) {
    while (state.current < state.files.size()) {
        std::FILE* file = state.files[state.current];
        const std::size_t n = std::fread(data, 1, length, file);
        if (n > 0) return static_cast<zip_int64_t>(n);
        if (std::ferror(file)) {
            zip_error_set(&state.error, ZIP_ER_READ, errno);
            return -1;
        }
        ++state.current;
    }
    return 0;
}

zip_int64_t callback(void* userdata, void* data, zip_uint64_t length, zip_source_cmd_t command) {
    auto* state = static_cast<SourceState*>(userdata);
    switch (command) {
        case ZIP_SOURCE_OPEN:
            for (std::FILE* file : state->files) {
                if (std::fseek(file, 0, SEEK_SET) != 0) {
                    zip_error_set(&state->error, ZIP_ER_SEEK, errno);
                    return -1;
                }
            }
            state->current = 0;
            return 0;
        case ZIP_SOURCE_READ:
            return readPieces(*state, data, length);
        case ZIP_SOURCE_CLOSE:
            return 0;
        case ZIP_SOURCE_STAT: {
            auto* st = static_cast<zip_stat_t*>(data);
            zip_stat_init(st);
            st->size = state->size;
            st->comp_size = state->compressed;
            st->comp_method = ZIP_CM_DEFLATE;
            st->crc = static_cast<zip_uint32_t>(state->crc);
            st->valid = ZIP_STAT_SIZE | ZIP_STAT_COMP_SIZE | ZIP_STAT_COMP_METHOD | ZIP_STAT_CRC;
            return sizeof(*st);
        }
        case ZIP_SOURCE_ERROR:
            return zip_error_to_data(&state->error, data, length);
        case ZIP_SOURCE_FREE:
            zip_error_fini(&state->error);
            delete state;
            return 0;
        case ZIP_SOURCE_SUPPORTS:
            return zip_source_make_command_bitmap(ZIP_SOURCE_OPEN, ZIP_SOURCE_READ,
                                                  ZIP_SOURCE_CLOSE, ZIP_SOURCE_STAT,
                                                  ZIP_SOURCE_ERROR, ZIP_SOURCE_FREE, -1);
        default:
            zip_error_set(&state->error, ZIP_ER_OPNOTSUPP, 0);
            return -1;
    }
}

}  // namespace

zip_source_t* deflatedSource(zip_t* archive, std::vector<std::unique_ptr<DeflatedPiece>> pieces) {
    auto* state = new SourceState;
    zip_error_init(&state->error);
    state->crc = crc32_z(0, Z_NULL, 0);
    for (const auto& piece : pieces) {
        state->files.push_back(piece->file_);
        state->crc = crc32_combine(state->crc, piece->crc_, static_cast<z_off_t>(piece->size_));
        state->size += piece->size_;
        state->compressed += piece->compressed_;
    }
    state->pieces = std::move(pieces);
    zip_source_t* source = zip_source_function(archive, &callback, state);
    if (source == nullptr) {
        zip_error_fini(&state->error);
        delete state;
    }
    return source;
}

namespace {

// The system's error number behind a failure of the archive, 0 when there is none.
int systemError(zip_t* archive) {
    zip_error_t* error = zip_get_error(archive);
    return zip_error_system_type(error) == ZIP_ET_SYS ? zip_error_code_system(error) : 0;
}

// The whole text of a small part as written.
std::optional<std::string> readPart(zip_t* archive, zip_uint64_t index) {
    zip_file_t* file = zip_fopen_index(archive, index, 0);
    if (file == nullptr) return std::nullopt;
    std::string text;
    char chunk[16 * 1024];
    zip_int64_t n = 0;
    while ((n = zip_fread(file, chunk, sizeof chunk)) > 0) {
        text.append(chunk, static_cast<std::size_t>(n));
    }
    zip_fclose(file);
    if (n < 0) return std::nullopt;
    return text;
}

}  // namespace

namespace {

// A package written entry by entry: local headers and data, then the central directory.
// libzip would write it by way of a file named with a secure random number, and its
// random source takes a millisecond to start, in every run that writes a summary.
class PackageWriter {
  public:
    explicit PackageWriter(std::FILE* file) : file_(file) {}

    // An entry whose data the caller copies next, `compressed` bytes of deflated (or
    // stored) data. libxlsxwriter dates its parts 1 January 1980; so are these.
    [[nodiscard]] bool beginEntry(const std::string& name, zip_uint16_t method, zip_uint32_t crc,
                                  zip_uint64_t compressed, zip_uint64_t size) {
        const long offset = std::ftell(file_);
        if (offset < 0 || !fits(offset) || !fits(compressed) || !fits(size) ||
            name.size() > 0xFFFF || entries_.size() >= 0xFFFF) {
            return false;
        }
        Entry entry{name,
                    method,
                    crc,
                    static_cast<zip_uint32_t>(compressed),
                    static_cast<zip_uint32_t>(size),
                    static_cast<zip_uint32_t>(offset)};
        std::string header;
        put32(header, 0x04034b50);
        putCommon(header, entry);
        put16(header, 0);  // no extra field
        header += name;
        entries_.push_back(std::move(entry));
        return write(header);
    }

    [[nodiscard]] bool write(std::string_view bytes) {
        return std::fwrite(bytes.data(), 1, bytes.size(), file_) == bytes.size();
    }

    [[nodiscard]] bool finish() {
        const long start = std::ftell(file_);
        if (start < 0 || !fits(start)) return false;
        std::string directory;
        for (const Entry& entry : entries_) {
            put32(directory, 0x02014b50);
            put16(directory, kVersion);  // made by
            putCommon(directory, entry);
            put16(directory, 0);  // no extra field
            put16(directory, 0);  // no comment
            put16(directory, 0);  // disk
            put16(directory, 0);  // internal attributes
            put32(directory, 0);  // external attributes
            put32(directory, entry.offset);
            directory += entry.name;
        }
        const std::size_t directorySize = directory.size();
        if (!fits(static_cast<zip_uint64_t>(start) + directorySize)) return false;
        put32(directory, 0x06054b50);
        put16(directory, 0);
        put16(directory, 0);
        put16(directory, static_cast<zip_uint16_t>(entries_.size()));
        put16(directory, static_cast<zip_uint16_t>(entries_.size()));
        put32(directory, static_cast<zip_uint32_t>(directorySize));
        put32(directory, static_cast<zip_uint32_t>(start));
        put16(directory, 0);  // no comment
        return write(directory) && std::fflush(file_) == 0;
    }

  private:
    static constexpr zip_uint16_t kVersion = 20;
    static constexpr zip_uint16_t kDosDate = (0 << 9) | (1 << 5) | 1;  // 1980-01-01
    struct Entry {
        std::string name;
        zip_uint16_t method;
        zip_uint32_t crc;
        zip_uint32_t compressed;
        zip_uint32_t size;
        zip_uint32_t offset;
    };
    // Without the extensions for packages of 4 GiB.
    template <typename T>
    static bool fits(T value) {
        return value >= 0 && static_cast<zip_uint64_t>(value) < 0xFFFFFFFFu;
    }
    static void put16(std::string& out, zip_uint16_t value) {
        out += static_cast<char>(value & 0xFF);
        out += static_cast<char>(value >> 8);
    }
    static void put32(std::string& out, zip_uint32_t value) {
        put16(out, static_cast<zip_uint16_t>(value & 0xFFFF));
        put16(out, static_cast<zip_uint16_t>(value >> 16));
    }
    // What the local header and the directory say alike, up to the name's length.
    static void putCommon(std::string& out, const Entry& entry) {
        put16(out, kVersion);  // needed
        put16(out, 0);         // flags
        put16(out, entry.method);
        put16(out, 0);  // time
        put16(out, kDosDate);
        put32(out, entry.crc);
        put32(out, entry.compressed);
        put32(out, entry.size);
        put16(out, static_cast<zip_uint16_t>(entry.name.size()));
    }

    std::FILE* file_;
    std::vector<Entry> entries_;
};

// The part of `name` made of `head`, the pieces written, and `tail`: the head and the tail
// compressed around the pieces compressed as they came.
std::optional<int> writeAround(PackageWriter& package, const std::string& name,
                               const std::string& head, const DeflatedPiece& middle,
                               std::string_view tail, const QString& shell) {
    const QString folder = QFileInfo(shell).absolutePath();
    std::unique_ptr<DeflatedPiece> first = DeflatedPiece::open(folder);
    std::unique_ptr<DeflatedPiece> last = DeflatedPiece::open(folder);
    if (!first || !last) return errno;
    if (!first->write(head) || !first->end(false) || !last->write(tail) || !last->end(true)) {
        return errno;
    }
    const DeflatedPiece* pieces[] = {first.get(), &middle, last.get()};
    zip_uint32_t crc = static_cast<zip_uint32_t>(crc32_z(0, Z_NULL, 0));
    zip_uint64_t size = 0;
    zip_uint64_t compressed = 0;
    for (const DeflatedPiece* piece : pieces) {
        crc = static_cast<zip_uint32_t>(
            crc32_combine(crc, piece->crc(), static_cast<z_off_t>(piece->size())));
        size += piece->size();
        compressed += piece->compressedSize();
    }
    if (!package.beginEntry(name, ZIP_CM_DEFLATE, crc, compressed, size)) return errno;
    for (const DeflatedPiece* piece : pieces) {
        if (!piece->copyCompressed([&](std::string_view bytes) { return package.write(bytes); })) {
            return errno;
        }
    }
    return std::nullopt;
}

// The sheet with the rows in place of what its <sheetData> holds, and its <dimension> set.
std::optional<int> writeSheet(PackageWriter& package, const std::string& name,
                              const std::string& xml, const std::string& dimension,
                              const DeflatedPiece& rows, const QString& shell) {
    constexpr std::string_view kDimension = "<dimension ref=\"";
    constexpr std::string_view kData = "<sheetData";
    constexpr std::string_view kDataEnd = "</sheetData>";
    const std::size_t ref = xml.find(kDimension);
    const std::size_t refEnd =
        ref == std::string::npos ? ref : xml.find('"', ref + kDimension.size());
    const std::size_t data = xml.find(kData);
    if (ref == std::string::npos || refEnd == std::string::npos || data == std::string::npos ||
        refEnd > data) {
        return 0;
    }
    // "<sheetData/>", or "<sheetData>" with rows up to "</sheetData>".
    std::size_t dataEnd = std::string::npos;
    if (xml.compare(data + kData.size(), 2, "/>") == 0) {
        dataEnd = data + kData.size() + 2;
    } else if (xml.compare(data + kData.size(), 1, ">") == 0) {
        const std::size_t close = xml.find(kDataEnd, data);
        if (close != std::string::npos) dataEnd = close + kDataEnd.size();
    }
    if (dataEnd == std::string::npos) return 0;
    const std::string_view text(xml);
    std::string head(text.substr(0, ref + kDimension.size()));
    head += dimension;
    head += text.substr(refEnd, data - refEnd);
    if (rows.empty()) {
        head += "<sheetData/>";
    } else {
        head += "<sheetData>";
    }
    std::string tail = rows.empty() ? std::string() : std::string(kDataEnd);
    tail += text.substr(dataEnd);
    return writeAround(package, name, head, rows, tail, shell);
}

// The table of shared texts of `count` entries, those written: the shell's own head with
// the counts set, then the entries.
std::optional<int> writeSharedStrings(PackageWriter& package, const std::string& name,
                                      const std::string& xml, std::uint64_t count,
                                      const DeflatedPiece& entries, const QString& shell) {
    constexpr std::string_view kTable = "<sst ";
    constexpr std::string_view kTableEnd = "</sst>";
    const std::size_t table = xml.find(kTable);
    const std::size_t open = table == std::string::npos ? table : xml.find('>', table);
    const std::size_t close = xml.rfind(kTableEnd);
    if (open == std::string::npos || close == std::string::npos || close < open) return 0;
    const std::string_view text(xml);
    std::string head(text.substr(0, table));
    // libxlsxwriter names the namespace, then the counts: the counts are written anew.
    std::string_view attributes = text.substr(table, open - table);
    if (const std::size_t counts = attributes.find(" count=\""); counts != std::string::npos) {
        attributes = attributes.substr(0, counts);
    }
    head += attributes;
    const std::string number = std::to_string(count);
    head += " count=\"" + number + "\" uniqueCount=\"" + number + "\">";
    return writeAround(package, name, head, entries, text.substr(close), shell);
}

}  // namespace

zip_t* openPackage(const QString& path, int flags, int& systemError) {
    int error = 0;
    zip_t* archive = zip_open(QFile::encodeName(path).constData(), flags, &error);
    systemError = 0;
    if (archive == nullptr) {
        zip_error_t e;
        zip_error_init_with_code(&e, error);
        if (zip_error_system_type(&e) == ZIP_ET_SYS) systemError = zip_error_code_system(&e);
        zip_error_fini(&e);
    }
    return archive;
}

namespace {
constexpr std::string_view kSharedStrings = "xl/sharedStrings.xml";
}  // namespace

std::optional<int> spliceSheetRows(const QString& shell, const QString& path, int sheet,
                                   const std::string& dimension,
                                   std::unique_ptr<DeflatedPiece> rows, std::uint64_t textCount,
                                   std::unique_ptr<DeflatedPiece> texts) {
    int error = 0;
    zip_t* archive = openPackage(shell, ZIP_RDONLY, error);
    if (archive == nullptr) return error;
    const std::unique_ptr<zip_t, void (*)(zip_t*)> closer(archive, zip_discard);
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> out(
        std::fopen(QFile::encodeName(path).constData(), "wb"), std::fclose);
    if (!out) return errno;
    PackageWriter package(out.get());
    const std::string sheetPart = "xl/worksheets/sheet" + std::to_string(sheet) + ".xml";
    const zip_int64_t count = zip_get_num_entries(archive, 0);
    for (zip_int64_t i = 0; i < count; ++i) {
        const auto index = static_cast<zip_uint64_t>(i);
        zip_stat_t st;
        zip_stat_init(&st);
        if (zip_stat_index(archive, index, 0, &st) != 0) return systemError(archive);
        const std::string name = st.name;
        if (name == sheetPart || name == kSharedStrings) {
            const std::optional<std::string> xml = readPart(archive, index);
            if (!xml) return systemError(archive);
            const auto e = name == sheetPart
                               ? writeSheet(package, name, *xml, dimension, *rows, shell)
                               : writeSharedStrings(package, name, *xml, textCount, *texts, shell);
            if (e) return e;
            continue;
        }
        // Any other part as libxlsxwriter compressed it.
        if (!package.beginEntry(name, static_cast<zip_uint16_t>(st.comp_method),
                                static_cast<zip_uint32_t>(st.crc), st.comp_size, st.size)) {
            return errno;
        }
        zip_file_t* file = zip_fopen_index(archive, index, ZIP_FL_COMPRESSED);
        if (file == nullptr) return systemError(archive);
        char chunk[64 * 1024];
        zip_int64_t n = 0;
        zip_uint64_t copied = 0;
        while ((n = zip_fread(file, chunk, sizeof chunk)) > 0) {
            copied += static_cast<zip_uint64_t>(n);
            if (!package.write(std::string_view(chunk, static_cast<std::size_t>(n)))) {
                zip_fclose(file);
                return errno;
            }
        }
        zip_fclose(file);
        if (n < 0 || copied != st.comp_size) return 0;
    }
    if (!package.finish()) return errno;
    if (std::fclose(out.release()) != 0) return errno;
    return std::nullopt;
}
}  // namespace normativ
