#include "batch.h"

#include "batchtexts.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <exception>
#include <map>
#include <mutex>
#include <optional>
#include <thread>

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

std::vector<InputRef> expandInputs(const QStringList& arguments, const QString& skipped) {
    const QString skippedPath =
        skipped.isEmpty() ? QString() : QFileInfo(skipped).canonicalFilePath();
    std::vector<InputRef> inputs;
    for (const QString& argument : arguments) {
        if (!QFileInfo(argument).isDir()) {
            inputs.push_back({argument, {}});
            continue;
        }
        const QDir folder(argument);
        if (!folder.isReadable()) {
            inputs.push_back({argument, batchTexts().cannotListFolder});
            continue;
        }
        std::vector<QByteArray> names;
        for (const QString& name : folder.entryList(QDir::Files, QDir::NoSort)) {
            if (!isWorkbookName(name)) continue;
            if (!skippedPath.isEmpty() &&
                QFileInfo(folder.filePath(name)).canonicalFilePath() == skippedPath) {
                continue;
            }
            names.push_back(name.toUtf8());
        }
        std::sort(names.begin(), names.end());
        for (const QByteArray& name : names) {
            inputs.push_back({joined(argument, QString::fromUtf8(name)), {}});
        }
    }
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

std::size_t streamInputs(const std::vector<InputRef>& inputs, const CalcModes& modes,
                         const QLocale& locale, const OutcomeSink& sink,
                         const RunControl& control) {
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

int batchExitStatus(const std::vector<InputOutcome>& outcomes) {
    const bool allComputed = std::all_of(
        outcomes.begin(), outcomes.end(),
        [](const InputOutcome& outcome) { return outcome.status == InputStatus::Computed; });
    return allComputed ? 0 : 1;
}

}  // namespace normativ
