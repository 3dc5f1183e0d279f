// normativ-calc: computes the normatives of answers documents (JSON), statistical forms
// or saved reports with the same core as the desktop program and prints the results as
// JSON; for many inputs at once, also a summary workbook.

#include "batch.h"
#include "batchtexts.h"
#include "calcinput.h"
#include "defaultmethodology.h"
#include "methodologyworkbook.h"
#include "savexlsx.h"
#include "summaryworkbook.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QJsonDocument>
#include <QLocale>
#include <QStringList>
#include <algorithm>
#include <array>
#include <clocale>
#include <cstdio>
#include <optional>

namespace {

constexpr int kBadInput = 2;

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

    const std::vector<normativ::InputOutcome> outcomes = normativ::calculateInputs(
        normativ::expandInputs(inputs, summary.value_or(QString())), modes, locale);
    if (summary) {
        if (const auto failure = writeSummary(*summary, outcomes, *modes.methodology))
            return badInput(*failure);
    }
    print(normativ::batchDocument(outcomes));
    return normativ::batchExitStatus(outcomes);
}
