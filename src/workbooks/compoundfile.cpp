#include "compoundfile.h"

#include "xlsbytes.h"

#include "loadedworkbook.h"
#include "readertexts.h"

#include <cstring>

namespace normativ {

namespace {

constexpr std::uint32_t kEndOfChain = 0xFFFFFFFE;
constexpr std::uint32_t kFreeSector = 0xFFFFFFFF;
constexpr std::uint32_t kNoStream = 0xFFFFFFFF;
constexpr std::uint32_t kMaxRegularSector = 0xFFFFFFFA;
constexpr int kMiniSectorSize = 64;
constexpr char kSignature[] = "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1";

using xls::damaged;
using xls::u16;
using xls::u32;

Status damagedStatus(const QString& why) {
    return Status::failure(damaged(why));
}

}  // namespace

Result<CompoundFile> CompoundFile::open(const QByteArray& data) {
    using R = Result<CompoundFile>;
    const ReaderTexts& t = readerTexts();
    if (data.size() < 512 || std::memcmp(data.constData(), kSignature, 8) != 0) {
        return R::failure(t.notXls);
    }
    if (data.size() > readlimits::kMaxFileSize) {
        return R::failure(t.fileTooLarge);
    }
    const char* h = data.constData();
    CompoundFile cf;
    cf.data_ = data;
    const std::uint16_t major = u16(h + 26);
    const std::uint16_t shift = u16(h + 30);
    if (u16(h + 28) != 0xFFFE || !((major == 3 && shift == 9) || (major == 4 && shift == 12)) ||
        u16(h + 32) != 6) {
        return R::failure(damaged(t.badHeader));
    }
    cf.version3_ = major == 3;
    cf.sectorSize_ = 1u << shift;
    if (static_cast<std::uint64_t>(data.size()) <= cf.sectorSize_) {
        return R::failure(damaged(t.fileCutShort));
    }
    // A last sector cut short still counts; reads past the file's end are refused.
    cf.sectorCount_ = static_cast<std::uint32_t>(
        (static_cast<std::uint64_t>(data.size()) - cf.sectorSize_ + cf.sectorSize_ - 1) /
        cf.sectorSize_);
    cf.miniCutoff_ = u32(h + 56);
    if (cf.miniCutoff_ != 4096) {
        return R::failure(damaged(t.badHeader));
    }
    if (Status s = cf.readFat(); !s) {
        return R::failure(s.error());
    }
    if (Status s = cf.readDirectory(); !s) {
        return R::failure(s.error());
    }
    if (Status s = cf.readMiniStream(); !s) {
        return R::failure(s.error());
    }
    return R::success(std::move(cf));
}

// FAT sector numbers: the first 109 in the header, the rest in the DIFAT chain.
Status CompoundFile::readFat() {
    const ReaderTexts& t = readerTexts();
    const char* h = data_.constData();
    const std::uint32_t fatSectors = u32(h + 44);
    if (fatSectors == 0 || fatSectors > sectorCount_) {
        return damagedStatus(t.badFatSectorCount);
    }
    std::vector<std::uint32_t> fatList;
    for (std::uint32_t i = 0; i < 109 && fatList.size() < fatSectors; ++i) {
        fatList.push_back(u32(h + 76 + 4 * i));
    }
    std::uint32_t difat = u32(h + 68);
    const std::uint32_t perDifat = sectorSize_ / 4 - 1;
    std::uint32_t steps = 0;
    while (fatList.size() < fatSectors) {
        if (difat >= sectorCount_ || ++steps > sectorCount_) {
            return damagedStatus(t.badDifatChain);
        }
        const std::uint64_t offset = (static_cast<std::uint64_t>(difat) + 1) * sectorSize_;
        if (offset + sectorSize_ > static_cast<std::uint64_t>(data_.size())) {
            return damagedStatus(t.badDifatChain);
        }
        const char* s = h + offset;
        for (std::uint32_t i = 0; i < perDifat && fatList.size() < fatSectors; ++i) {
            fatList.push_back(u32(s + 4 * i));
        }
        difat = u32(s + 4 * perDifat);
    }
    fat_.reserve(static_cast<std::size_t>(fatSectors) * (sectorSize_ / 4));
    for (const std::uint32_t sector : fatList) {
        const std::uint64_t offset = (static_cast<std::uint64_t>(sector) + 1) * sectorSize_;
        if (sector >= sectorCount_ ||
            offset + sectorSize_ > static_cast<std::uint64_t>(data_.size())) {
            return damagedStatus(t.fatSectorOutsideFile);
        }
        for (std::uint32_t i = 0; i < sectorSize_ / 4; ++i) {
            fat_.push_back(u32(h + offset + 4 * i));
        }
    }
    return Status::success();
}

Status CompoundFile::readDirectory() {
    const ReaderTexts& t = readerTexts();
    const auto directory = readFatChain(u32(data_.constData() + 48));
    if (!directory) {
        return Status::failure(directory.error());
    }
    const auto entryCount = static_cast<std::size_t>(directory->size() / 128);
    if (entryCount == 0) {
        return damagedStatus(t.emptyDirectory);
    }
    entries_.reserve(entryCount);
    for (std::size_t i = 0; i < entryCount; ++i) {
        const char* e = directory->constData() + i * 128;
        Entry entry;
        const std::uint16_t nameBytes = u16(e + 64);
        const int chars = (nameBytes >= 2 && nameBytes <= 64) ? nameBytes / 2 - 1 : 0;
        for (int k = 0; k < chars; ++k) {
            entry.name += QChar(static_cast<char16_t>(u16(e + 2 * k)));
        }
        entry.type = static_cast<unsigned char>(e[66]);
        entry.left = u32(e + 68);
        entry.right = u32(e + 72);
        entry.child = u32(e + 76);
        entry.start = u32(e + 116);
        entry.size = version3_ ? u32(e + 120)
                               : (static_cast<std::uint64_t>(u32(e + 124)) << 32) | u32(e + 120);
        entries_.push_back(entry);
    }
    if (entries_[0].type != 5) {
        return damagedStatus(t.noRootStorage);
    }

    // The root's children: a tree through left and right siblings, walked with a guard
    // against loops.
    std::vector<bool> seen(entryCount, false);
    std::vector<std::uint32_t> pending{entries_[0].child};
    while (!pending.empty()) {
        const std::uint32_t id = pending.back();
        pending.pop_back();
        if (id == kNoStream) {
            continue;
        }
        if (id == 0 || id >= entryCount || seen[id]) {
            return damagedStatus(t.badDirectory);
        }
        seen[id] = true;
        rootChildren_.push_back(id);
        pending.push_back(entries_[id].left);
        pending.push_back(entries_[id].right);
    }
    return Status::success();
}

// The mini stream (in regular sectors, held by the root entry) and its allocation table.
Status CompoundFile::readMiniStream() {
    const Entry& root = entries_[0];
    if (root.size == 0) {
        return Status::success();
    }
    if (root.size > static_cast<std::uint64_t>(data_.size())) {
        return damagedStatus(readerTexts().badMiniStreamSize);
    }
    auto stream = readChain(fat_, root.start, root.size, false);
    if (!stream) {
        return Status::failure(stream.error());
    }
    miniStream_ = std::move(*stream);
    const char* h = data_.constData();
    if (u32(h + 64) == 0) {
        return Status::success();
    }
    const auto miniFat = readFatChain(u32(h + 60));
    if (!miniFat) {
        return Status::failure(miniFat.error());
    }
    for (qsizetype i = 0; i + 4 <= miniFat->size(); i += 4) {
        miniFat_.push_back(u32(miniFat->constData() + i));
    }
    return Status::success();
}

Result<QByteArray> CompoundFile::readFatChain(std::uint32_t start) const {
    using R = Result<QByteArray>;
    QByteArray out;
    std::vector<bool> visited(fat_.size(), false);
    std::uint32_t sector = start;
    while (sector != kEndOfChain) {
        if (sector > kMaxRegularSector || sector >= sectorCount_ || sector >= fat_.size() ||
            visited[sector]) {
            return R::failure(damaged(readerTexts().badSectorChain));
        }
        visited[sector] = true;
        const std::uint64_t offset = (static_cast<std::uint64_t>(sector) + 1) * sectorSize_;
        if (offset + sectorSize_ > static_cast<std::uint64_t>(data_.size())) {
            return R::failure(damaged(readerTexts().sectorOutsideFile));
        }
        out.append(data_.constData() + offset, sectorSize_);
        sector = fat_[sector];
    }
    return R::success(std::move(out));
}

Result<QByteArray> CompoundFile::readChain(const std::vector<std::uint32_t>& table,
                                           std::uint32_t start, std::uint64_t size,
                                           bool mini) const {
    using R = Result<QByteArray>;
    const std::uint64_t unit = mini ? kMiniSectorSize : sectorSize_;
    const QByteArray& source = mini ? miniStream_ : data_;
    const std::uint64_t base = mini ? 0 : sectorSize_;
    // No chain can be longer than the sectors there are.
    const std::uint64_t maxSteps = (static_cast<std::uint64_t>(source.size()) + unit - 1) / unit;
    if (size > static_cast<std::uint64_t>(source.size())) {
        return R::failure(damaged(readerTexts().streamOverFile));
    }
    QByteArray out;
    out.reserve(static_cast<qsizetype>(size));
    std::vector<bool> visited(table.size(), false);
    std::uint32_t sector = start;
    std::uint64_t steps = 0;
    while (static_cast<std::uint64_t>(out.size()) < size) {
        if (sector == kEndOfChain || sector == kFreeSector || sector > kMaxRegularSector ||
            sector >= table.size() || visited[sector] || ++steps > maxSteps) {
            return R::failure(damaged(readerTexts().badSectorChain));
        }
        visited[sector] = true;
        const std::uint64_t offset = base + static_cast<std::uint64_t>(sector) * unit;
        const std::uint64_t want =
            std::min<std::uint64_t>(unit, size - static_cast<std::uint64_t>(out.size()));
        if (offset + want > static_cast<std::uint64_t>(source.size())) {
            return R::failure(damaged(readerTexts().sectorOutsideFile));
        }
        out.append(source.constData() + offset, static_cast<qsizetype>(want));
        sector = table[sector];
    }
    return R::success(std::move(out));
}

QStringList CompoundFile::streamNames() const {
    QStringList names;
    for (const std::uint32_t id : rootChildren_) {
        if (entries_[id].type == 2) {
            names << entries_[id].name;
        }
    }
    return names;
}

Result<QByteArray> CompoundFile::readStream(const QString& name) const {
    using R = Result<QByteArray>;
    for (const std::uint32_t id : rootChildren_) {
        const Entry& e = entries_[id];
        if (e.type != 2 || e.name.compare(name, Qt::CaseInsensitive) != 0) {
            continue;
        }
        if (e.size > static_cast<std::uint64_t>(data_.size())) {
            return R::failure(damaged(readerTexts().streamOverFile));
        }
        const bool mini = e.size < miniCutoff_;
        return readChain(mini ? miniFat_ : fat_, e.start, e.size, mini);
    }
    return R::failure(damaged(readerTexts().noStream.arg(name)));
}

}  // namespace normativ
