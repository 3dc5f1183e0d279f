// normativ-calc: computes the normatives of answers documents (JSON), statistical forms
// or saved reports with the same core as the desktop program and prints the results as
// JSON; for many inputs at once, also a summary workbook.

#include "batch.h"
#include "batchtexts.h"
#include "calcinput.h"
#include "defaultmethodology.h"
#include "methodologyworkbook.h"
#include "savexlsx.h"
#include "scratchfile.h"
#include "summaryworkbook.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QJsonDocument>
#include <QLocale>
#include <QStringList>

#include <malloc.h>
#include <sys/sendfile.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <clocale>
#include <cstdio>
#include <memory>
#include <optional>

namespace {

constexpr int kBadInput = 2;
constexpr std::size_t kOutputBuffer = 64 * 1024;

void writeText(const QString& text, std::FILE* stream) {
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stream);
}

void writeError(const QString& message) {
    writeText(QStringLiteral("normativ-calc: %1\n").arg(message), stderr);
}

int badInput(const QString& message) {
    writeError(message);
    return kBadInput;
}

int badUsage(const QString& message) {
    writeError(message);
    writeText(normativ::batchTexts().usage, stderr);
    return kBadInput;
}

void print(const QByteArray& out) {
    std::fwrite(out.constData(), 1, static_cast<std::size_t>(out.size()), stdout);
    std::fflush(stdout);
}

// Writes all of `file` from its start to standard output: by the kernel where it can,
// as the array is the last thing a run does.
void copyToStdout(std::FILE* file) {
    std::fflush(file);
    std::fflush(stdout);
    const int from = fileno(file);
    struct stat st {};
    off_t offset = 0;
    if (::fstat(from, &st) == 0) {
        while (offset < st.st_size) {
            const auto left = static_cast<std::size_t>(st.st_size - offset);
            if (::sendfile(STDOUT_FILENO, from, &offset, left) <= 0) break;
        }
    }
    // What the kernel did not copy (standard output is a terminal, say) is copied here.
    if (std::fseek(file, offset, SEEK_SET) != 0) return;
    char chunk[64 * 1024];
    std::size_t n = 0;
    while ((n = std::fread(chunk, 1, sizeof chunk, file)) > 0) std::fwrite(chunk, 1, n, stdout);
}

// Several inputs (or a folder): the array printed and the summary written as the outcomes
// come, in input order, so that a run holds a few outcomes whatever their number. With a
// summary that can't be written nothing is printed: the array waits on the disk beside it.
int runBatch(const normativ::InputList& inputs, const std::optional<QString>& summary,
             const normativ::CalcModes& modes, const QLocale& locale) {
    // The items come some kilobytes each: written in large blocks.
    std::setvbuf(stdout, nullptr, _IOFBF, kOutputBuffer);
    std::unique_ptr<normativ::SummaryWriter> summaryWriter;
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> held(nullptr, std::fclose);
    if (summary) {
        auto opened = normativ::SummaryWriter::open(*summary, *modes.methodology);
        if (!opened) return badInput(opened.error());
        summaryWriter = std::move(*opened);
        held.reset(normativ::openScratchFile(QFileInfo(*summary).absolutePath()));
        // Failing a file beside the summary, one among the system's temporary files;
        // failing both, the array is printed as it comes.
        if (!held) held.reset(std::tmpfile());
        if (held) std::setvbuf(held.get(), nullptr, _IOFBF, kOutputBuffer);
    }
    std::FILE* out = held ? held.get() : stdout;
    normativ::BatchDocumentWriter array([out](QByteArrayView bytes) {
        std::fwrite(bytes.data(), 1, static_cast<std::size_t>(bytes.size()), out);
    });
    bool allComputed = true;
    std::optional<QString> summaryFailure;
    std::atomic<bool> stop{false};
    normativ::RunControl control;
    control.stop = &stop;
    normativ::streamInputs(
        inputs, modes, locale,
        [&](std::size_t, normativ::InputOutcome&& outcome) {
            if (summaryFailure) return;
            if (summaryWriter) {
                if (const normativ::Status added = summaryWriter->add(outcome.row); !added) {
                    summaryFailure = added.error();
                    stop = true;
                    return;
                }
            }
            allComputed = allComputed && outcome.status == normativ::InputStatus::Computed;
            array.add(outcome);
        },
        control);
    if (summaryFailure) return badInput(*summaryFailure);
    array.finish();
    if (summaryWriter) {
        if (const normativ::Status finished = summaryWriter->finish(); !finished) {
            return badInput(finished.error());
        }
        if (held) copyToStdout(held.get());
    }
    std::fflush(stdout);
    return allComputed ? 0 : 1;
}

// Writes the summary of the outcomes; the message when it can't be written.
std::optional<QString> writeSummary(const QString& path,
                                    const std::vector<normativ::InputOutcome>& outcomes,
                                    const normativ::Methodology& methodology) {
    std::vector<normativ::SummaryRow> rows;
    rows.reserve(outcomes.size());
    for (const auto& outcome : outcomes) rows.push_back(outcome.row);
    const normativ::Status saved =
        normativ::saveWorkbook(normativ::buildSummaryWorkbook(rows, methodology), path);
    if (saved.ok()) return std::nullopt;
    return saved.error();
}

}  // namespace

int main(int argc, char** argv) {
    // Every input is read through zlib, whose buffers of tens of kilobytes the C library
    // would give back to the system after each input and take again for the next: keep
    // what is freed for the next input.
    mallopt(M_TRIM_THRESHOLD, 64 * 1024 * 1024);
    // libzip gives every part of every workbook read its local time. With TZ unset the C
    // library reads /etc/localtime again for each, under a lock the computing threads
    // share: name the zone it reads anyway, and it is read once.
    if (!qEnvironmentVariableIsSet("TZ")) qputenv("TZ", ":/etc/localtime");
    QCoreApplication app(argc, argv);
    // Qt has set the C library's locale from the environment; numbers in files must not
    // depend on it.
    std::setlocale(LC_NUMERIC, "C");

    const QStringList args = QCoreApplication::arguments().mid(1);
    if (args.size() == 1 &&
        (args[0] == QLatin1String("--help") || args[0] == QLatin1String("-h"))) {
        writeText(normativ::batchTexts().usage, stdout);
        return 0;
    }
    normativ::CalcModes modes;
    std::optional<QString> summary;
    std::optional<QString> methodologyFile;
    std::optional<QString> writtenMethodology;
    // The options that take a file: "--name FILE" or "--name=FILE", each at most once.
    const std::array<std::pair<QLatin1String, std::optional<QString>*>, 3> fileOptions{{
        {QLatin1String("--summary"), &summary},
        {QLatin1String("--methodology"), &methodologyFile},
        {QLatin1String("--write-methodology"), &writtenMethodology},
    }};
    QStringList inputs;
    for (int i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        const auto fileOption =
            std::find_if(fileOptions.begin(), fileOptions.end(), [&](const auto& option) {
                return arg == option.first || arg.startsWith(option.first + QLatin1Char('='));
            });
        if (arg == QLatin1String("--own-payroll")) {
            modes.ownPayroll = modes.given = true;
        } else if (arg == QLatin1String("--own-services")) {
            modes.ownServices = modes.given = true;
        } else if (fileOption != fileOptions.end()) {
            const QString name = fileOption->first;
            std::optional<QString>& value = *fileOption->second;
            if (value) return badUsage(normativ::batchTexts().optionTwice.arg(name));
            if (arg.contains(QLatin1Char('='))) {
                value = arg.section(QLatin1Char('='), 1);
            } else if (i + 1 < args.size()) {
                value = args[++i];
            }
            if (!value || value->isEmpty()) {
                return badUsage(normativ::batchTexts().optionWithoutFile.arg(name));
            }
        } else if (arg.startsWith(QLatin1Char('-')) && arg.size() > 1) {
            return badUsage(normativ::batchTexts().unknownOption.arg(arg));
        } else {
            inputs << arg;
        }
    }
    if (methodologyFile) {
        normativ::Result<normativ::Methodology> read =
            normativ::readMethodologyFile(*methodologyFile);
        if (!read) return badInput(QStringLiteral("%1: %2").arg(*methodologyFile, read.error()));
        modes.methodology = std::make_shared<const normativ::Methodology>(std::move(*read));
    } else {
        // A deployed methodology that can't be used must not be replaced by the example
        // unnoticed: the figures would be another methodology's.
        const normativ::DefaultMethodology deployed = normativ::loadDefaultMethodology();
        if (!deployed.error.isEmpty()) return badInput(deployed.error);
        modes.methodology = deployed.methodology;
    }
    if (writtenMethodology) {
        const normativ::Status saved = normativ::saveWorkbook(
            normativ::buildMethodologyWorkbook(*modes.methodology), *writtenMethodology);
        if (!saved) return badInput(saved.error());
        if (inputs.isEmpty()) return 0;
    }
    if (inputs.isEmpty()) {
        writeText(normativ::batchTexts().usage, stderr);
        return kBadInput;
    }
    const QLocale locale = normativ::userNumberLocale();

    if (inputs.size() == 1 && !QFileInfo(inputs[0]).isDir()) {
        const normativ::InputOutcome outcome = normativ::calculateInput(inputs[0], modes, locale);
        if (summary) {
            if (const auto failure = writeSummary(*summary, {outcome}, *modes.methodology))
                return badInput(*failure);
        }
        if (outcome.status == normativ::InputStatus::Unusable) {
            return outcome.usageError ? badUsage(outcome.message()) : badInput(outcome.message());
        }
        print(QJsonDocument(outcome.document).toJson(QJsonDocument::Indented));
        return static_cast<int>(outcome.status);
    }

    // The items are printed as they come: none needs its document.
    modes.printedItems = true;
    return runBatch(normativ::listInputs(inputs, summary.value_or(QString())), summary, modes,
                    locale);
}
