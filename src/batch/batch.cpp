#include "batch.h"

#include "batchtexts.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <algorithm>
#include <atomic>
#include <exception>
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

std::vector<InputOutcome> calculateInputs(const std::vector<InputRef>& inputs,
                                          const CalcModes& modes, const QLocale& locale,
                                          int threads) {
    std::vector<InputOutcome> outcomes(inputs.size());
    // Each worker takes the next input and writes only that input's slot.
    std::atomic<std::size_t> next{0};
    const auto work = [&] {
        for (std::size_t i = next++; i < inputs.size(); i = next++) {
            const InputRef& input = inputs[i];
            try {
                outcomes[i] = input.error.isEmpty() ? calculateInput(input.file, modes, locale)
                                                    : unusableInput(input.file, input.error);
            } catch (const std::exception&) {
                // Out of memory, say: this input fails, the others go on.
                outcomes[i] = unusableInput(input.file, batchTexts().cannotProcess);
            }
        }
    };
    const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
    const std::size_t count = std::min<std::size_t>(
        threads > 0 ? static_cast<std::size_t>(threads) : cores, inputs.size());
    std::vector<std::thread> workers;
    for (std::size_t t = 1; t < count; ++t) workers.emplace_back(work);
    work();
    for (std::thread& worker : workers) worker.join();
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
