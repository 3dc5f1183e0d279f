#pragma once

#include <QString>

#include <zip.h>

#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace normativ {

/// A piece of a package part compressed as it is written (raw deflate, at the fastest
/// level: a long sheet compresses a fifth less well, several times faster), into a scratch
/// file: the part's bytes are never all in memory, and libzip copies them as they are
/// instead of compressing them again at its slow best level.
/// Pieces written separately and ended in order make one part (see deflatedSource).
class DeflatedPiece {
  public:
    /// A piece compressed into a scratch file in `folder`; null, with errno set, when
    /// none can be made.
    static std::unique_ptr<DeflatedPiece> open(const QString& folder);
    ~DeflatedPiece();
    DeflatedPiece(const DeflatedPiece&) = delete;
    DeflatedPiece& operator=(const DeflatedPiece&) = delete;

    /// False when the compression or the file fails (errno then tells why, or is 0).
    [[nodiscard]] bool write(std::string_view bytes);
    /// Ends the piece: the last of its part, or one that more pieces follow.
    [[nodiscard]] bool end(bool last);

    /// Nothing was written.
    bool empty() const { return size_ == 0; }
    /// The CRC-32 of the bytes written, their count and that of their compressed bytes.
    unsigned long crc() const { return crc_; }
    zip_uint64_t size() const { return size_; }
    zip_uint64_t compressedSize() const { return compressed_; }
    /// Hands the compressed bytes, from the start, to `write`; false when they can't be
    /// read or `write` refuses them.
    [[nodiscard]] bool copyCompressed(const std::function<bool(std::string_view)>& write) const;

  private:
    friend zip_source_t* deflatedSource(zip_t*, std::vector<std::unique_ptr<DeflatedPiece>>);
    explicit DeflatedPiece(std::FILE* file);
    [[nodiscard]] bool pump(std::string_view bytes, int flush);
    struct Stream;
    std::FILE* file_;
    std::unique_ptr<Stream> stream_;
    bool ok_ = false;
    unsigned long crc_ = 0;
    zip_uint64_t size_ = 0;
    zip_uint64_t compressed_ = 0;
};

/// A source for `archive` of the part the ended pieces make in order, which it takes;
/// null when it can't be made.
zip_source_t* deflatedSource(zip_t* archive, std::vector<std::unique_ptr<DeflatedPiece>> pieces);

/// The package at `path` opened by libzip with `flags`; null when it can't be, with
/// `systemError` the system's error number (0 when the package itself is at fault).
zip_t* openPackage(const QString& path, int flags, int& systemError);

/// Writes at `path` the package at `shell`, written without the rows of sheet `sheet`
/// (1-based), with them put in: what its <sheetData> holds becomes the rows (`rows`, ended
/// but not last), its <dimension> gets `dimension` ("A1:L515"), and the entries of its
/// table of shared texts become the `textCount` entries of `texts` (ended but not last).
/// The other parts are copied as they are. Nothing on success; otherwise the system's
/// error number, or 0 when the shell is not as libxlsxwriter writes it.
std::optional<int> spliceSheetRows(const QString& shell, const QString& path, int sheet,
                                   const std::string& dimension,
                                   std::unique_ptr<DeflatedPiece> rows, std::uint64_t textCount,
                                   std::unique_ptr<DeflatedPiece> texts);

}  // namespace normativ
