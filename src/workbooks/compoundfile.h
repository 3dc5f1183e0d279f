#pragma once

#include "result.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

namespace normativ {

/// The compound-file container of legacy .xls workbooks, read from memory: header, FAT
/// and DIFAT, mini stream and mini FAT, directory. Every sector chain is checked for
/// loops and for sectors outside the file, and every declared size against the file.
class CompoundFile {
  public:
    /// Checks the header and reads the allocation tables and the directory.
    static Result<CompoundFile> open(const QByteArray& data);

    /// Names of the streams directly under the root storage, in directory order.
    QStringList streamNames() const;
    /// The bytes of a stream directly under the root, by name (either case); a Russian
    /// reason when it is missing or its sectors are damaged.
    Result<QByteArray> readStream(const QString& name) const;

  private:
    struct Entry {
        QString name;
        int type = 0;  // 1 storage, 2 stream, 5 root
        std::uint32_t left = 0, right = 0, child = 0;
        std::uint32_t start = 0;
        std::uint64_t size = 0;
    };

    Status readFat();
    Status readDirectory();
    Status readMiniStream();
    Result<QByteArray> readChain(const std::vector<std::uint32_t>& table, std::uint32_t start,
                                 std::uint64_t size, bool mini) const;
    Result<QByteArray> readFatChain(std::uint32_t start) const;

    QByteArray data_;
    std::uint32_t sectorSize_ = 512;
    std::uint32_t sectorCount_ = 0;
    std::uint32_t miniCutoff_ = 4096;
    bool version3_ = true;
    std::vector<std::uint32_t> fat_;
    std::vector<std::uint32_t> miniFat_;
    QByteArray miniStream_;
    std::vector<Entry> entries_;
    std::vector<std::uint32_t> rootChildren_;
};

}  // namespace normativ
