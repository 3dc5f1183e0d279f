#include "batch.h"

#include "batchtexts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <exception>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>

#include <dirent.h>
#include <sys/stat.h>

namespace normativ {

namespace {

bool isWorkbookName(const QString& name) {
    return name.endsWith(QLatin1String(".xls"), Qt::CaseInsensitive) ||
           name.endsWith(QLatin1String(".xlsx"), Qt::CaseInsensitive);
}

QString joined(const QString& folder, const QString& name) {
    return folder.endsWith(QLatin1Char('/')) ? folder + name : folder + QLatin1Char('/') + name;
}

}  // namespace

namespace {

// The workbook names of a folder that is readable, unsorted, in UTF-8 one after the
// other in `names` (where each begins and its length in `spans`): what
// QDir::entryList(QDir::Files) lists (not hidden, a file or a link to one), read in one
// pass over the entries, as a folder may hold a whole country's reports. A file that is
// the same file as `skippedPath` (canonical; empty for none) is left out.
void workbookNames(const QString& argument, const QString& skippedPath, std::string& names,
                   std::vector<std::pair<std::uint32_t, std::uint32_t>>& spans) {
    const QByteArray path = QFile::encodeName(argument);
    DIR* dir = ::opendir(path.constData());
    if (dir == nullptr) return;
    // A plain file's canonical path is its folder's followed by its name: one lookup per
    // folder instead of one per file.
    QString canonicalFolder =
        skippedPath.isEmpty() ? QString() : QFileInfo(argument).canonicalFilePath();
    if (!canonicalFolder.endsWith(u'/')) canonicalFolder += u'/';
    const QDir folder(argument);
    while (const dirent* entry = ::readdir(dir)) {
        if (entry->d_name[0] == '.') continue;
        const QString name = QFile::decodeName(entry->d_name);
        if (!isWorkbookName(name)) continue;
        // A name that doesn't decode is looked up as decoded, as QDir does.
        const QByteArray encoded = QFile::encodeName(name);
        bool plain = entry->d_type == DT_REG && encoded == entry->d_name;
        if (!plain) {
            const QByteArray entryPath = path + '/' + encoded;
            struct stat st {};
            if ((entry->d_type == DT_UNKNOWN || encoded != entry->d_name) &&
                ::lstat(entryPath.constData(), &st) == 0) {
                plain = S_ISREG(st.st_mode);
            }
            // A link to a file, or anything else the folder holds.
            if (!plain && (::stat(entryPath.constData(), &st) != 0 || !S_ISREG(st.st_mode))) {
                continue;
            }
        }
        if (!skippedPath.isEmpty()) {
            const QString canonical = plain ? canonicalFolder + name
                                            : QFileInfo(folder.filePath(name)).canonicalFilePath();
            if (canonical == skippedPath) continue;
        }
        const QByteArray utf8 = name.toUtf8();
        spans.emplace_back(static_cast<std::uint32_t>(names.size()),
                           static_cast<std::uint32_t>(utf8.size()));
        names.append(utf8.constData(), static_cast<std::size_t>(utf8.size()));
    }
    ::closedir(dir);
}

}  // namespace

InputList listInputs(const QStringList& arguments, const QString& skipped) {
    const QString skippedPath =
        skipped.isEmpty() ? QString() : QFileInfo(skipped).canonicalFilePath();
    InputList inputs;
    for (const QString& argument : arguments) {
        const auto group = static_cast<std::uint32_t>(inputs.arguments_.size());
        if (!QFileInfo(argument).isDir()) {
            inputs.arguments_.push_back({argument, {}, false});
            inputs.entries_.push_back({group, 0, 0});
            continue;
        }
        if (!QDir(argument).isReadable()) {
            inputs.arguments_.push_back({argument, batchTexts().cannotListFolder, false});
            inputs.entries_.push_back({group, 0, 0});
            continue;
        }
        inputs.arguments_.push_back({argument, {}, true});
        std::vector<std::pair<std::uint32_t, std::uint32_t>> spans;
        workbookNames(argument, skippedPath, inputs.names_, spans);
        const std::string_view names(inputs.names_);
        const auto nameOf = [&](const std::pair<std::uint32_t, std::uint32_t>& span) {
            return names.substr(span.first, span.second);
        };
        // By the bytes of the UTF-8 names.
        std::sort(spans.begin(), spans.end(),
                  [&](const auto& a, const auto& b) { return nameOf(a) < nameOf(b); });
        for (const auto& [start, length] : spans) inputs.entries_.push_back({group, start, length});
    }
    return inputs;
}

InputRef InputList::operator[](std::size_t index) const {
    const Entry& entry = entries_[index];
    const Argument& argument = arguments_[entry.argument];
    if (!argument.folder) return {argument.path, argument.error};
    return {
        joined(argument.path, QString::fromUtf8(names_.data() + entry.nameStart, entry.nameLength)),
        {}};
}

std::vector<InputRef> expandInputs(const QStringList& arguments, const QString& skipped) {
    const InputList list = listInputs(arguments, skipped);
    std::vector<InputRef> inputs;
    inputs.reserve(list.size());
    for (std::size_t i = 0; i < list.size(); ++i) inputs.push_back(list[i]);
    return inputs;
}

namespace {

InputOutcome outcomeOf(const InputRef& input, const CalcModes& modes, const QLocale& locale) {
    try {
        return input.error.isEmpty() ? calculateInput(input.file, modes, locale)
                                     : unusableInput(input.file, input.error);
    } catch (const std::exception&) {
        // Out of memory, say: this input fails, the others go on.
        return unusableInput(input.file, batchTexts().cannotProcess);
    }
}

// The inputs taken, the outcomes finished early and the next one to hand over, shared
// by the computing threads under one lock.
class OrderedRun {
  public:
    OrderedRun(std::size_t count, std::size_t window, const RunControl& control,
               const OutcomeSink& sink)
        : count_(count), window_(window), stop_(control.stop), sink_(sink) {}

    // The next input to compute, or none when every input is taken or the run stops.
    std::optional<std::size_t> take() {
        std::unique_lock lock(mutex_);
        roomForMore_.wait(
            lock, [&] { return stopped() || taken_ >= count_ || taken_ < delivered_ + window_; });
        if (stopped() || taken_ >= count_) return std::nullopt;
        return taken_++;
    }

    // Keeps the outcome, and hands over every outcome that is next in order. One thread
    // hands over at a time, outside the lock, so that the sink may take its time.
    void finish(std::size_t index, InputOutcome&& outcome) {
        std::unique_lock lock(mutex_);
        waiting_.emplace(index, std::move(outcome));
        if (handingOver_) return;
        handingOver_ = true;
        for (auto next = waiting_.find(delivered_); next != waiting_.end();
             next = waiting_.find(delivered_)) {
            const std::size_t readyIndex = next->first;
            InputOutcome ready = std::move(next->second);
            waiting_.erase(next);
            lock.unlock();
            sink_(readyIndex, std::move(ready));
            lock.lock();
            ++delivered_;
            roomForMore_.notify_all();
        }
        handingOver_ = false;
    }

    std::size_t delivered() const {
        std::lock_guard lock(mutex_);
        return delivered_;
    }

  private:
    bool stopped() const { return stop_ && stop_->load(); }

    const std::size_t count_;
    const std::size_t window_;
    const std::atomic<bool>* stop_;
    const OutcomeSink& sink_;
    mutable std::mutex mutex_;
    std::condition_variable roomForMore_;
    std::size_t taken_ = 0;
    std::size_t delivered_ = 0;
    bool handingOver_ = false;
    std::map<std::size_t, InputOutcome> waiting_;
};

}  // namespace

namespace {

template <typename Inputs>
std::size_t streamAll(const Inputs& inputs, const CalcModes& modes, const QLocale& locale,
                      const OutcomeSink& sink, const RunControl& control) {
    const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
    const std::size_t count = std::min<std::size_t>(
        control.threads > 0 ? static_cast<std::size_t>(control.threads) : cores, inputs.size());
    const std::size_t window =
        control.window > 0 ? control.window : 16 * std::max<std::size_t>(count, 1);
    OrderedRun run(inputs.size(), window, control, sink);
    const auto work = [&] {
        while (const std::optional<std::size_t> i = run.take()) {
            run.finish(*i, outcomeOf(inputs[*i], modes, locale));
        }
    };
    std::vector<std::thread> workers;
    for (std::size_t t = 1; t < count; ++t) workers.emplace_back(work);
    work();
    for (std::thread& worker : workers) worker.join();
    return run.delivered();
}

}  // namespace

std::size_t streamInputs(const std::vector<InputRef>& inputs, const CalcModes& modes,
                         const QLocale& locale, const OutcomeSink& sink,
                         const RunControl& control) {
    return streamAll(inputs, modes, locale, sink, control);
}

std::size_t streamInputs(const InputList& inputs, const CalcModes& modes, const QLocale& locale,
                         const OutcomeSink& sink, const RunControl& control) {
    return streamAll(inputs, modes, locale, sink, control);
}

std::vector<InputOutcome> calculateInputs(const std::vector<InputRef>& inputs,
                                          const CalcModes& modes, const QLocale& locale,
                                          int threads) {
    std::vector<InputOutcome> outcomes(inputs.size());
    RunControl control;
    control.threads = threads;
    // Every outcome is kept anyway: no reason to hold a thread back.
    control.window = std::max<std::size_t>(inputs.size(), 1);
    streamInputs(
        inputs, modes, locale,
        [&](std::size_t index, InputOutcome&& outcome) { outcomes[index] = std::move(outcome); },
        control);
    return outcomes;
}

QByteArray batchDocument(const std::vector<InputOutcome>& outcomes) {
    QJsonArray items;
    for (const InputOutcome& outcome : outcomes) items.append(outcome.batchItem());
    return QJsonDocument(items).toJson(QJsonDocument::Indented);
}

BatchDocumentWriter::BatchDocumentWriter(Write write) : write_(std::move(write)) {
    write_("[\n");
}

void BatchDocumentWriter::add(const InputOutcome& outcome) {
    if (items_++ > 0) write_(",\n");
    if (!outcome.item.isEmpty()) {
        write_(outcome.item);
        return;
    }
    // The item indented as inside the whole array, which is "[\n" + items + "\n]\n".
    const QByteArray alone =
        QJsonDocument(QJsonArray{outcome.batchItem()}).toJson(QJsonDocument::Indented);
    write_(QByteArrayView(alone).sliced(2, alone.size() - 5));
}

void BatchDocumentWriter::finish() {
    write_(items_ > 0 ? QByteArrayView("\n]\n") : QByteArrayView("]\n"));
}

int batchExitStatus(const std::vector<InputOutcome>& outcomes) {
    const bool allComputed = std::all_of(
        outcomes.begin(), outcomes.end(),
        [](const InputOutcome& outcome) { return outcome.status == InputStatus::Computed; });
    return allComputed ? 0 : 1;
}

}  // namespace normativ
