// normativ-calc: computes the normatives of answers documents (JSON), statistical forms
// or saved reports with the same core as the desktop program and prints the results as
// JSON; for many inputs at once, also a summary workbook.

#include "batch.h"
#include "batchtexts.h"
#include "calcinput.h"
#include "savexlsx.h"
#include "summaryworkbook.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QJsonDocument>
#include <QLocale>
#include <QStringList>
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
                                    const std::vector<normativ::InputOutcome>& outcomes) {
    std::vector<normativ::SummaryRow> rows;
    rows.reserve(outcomes.size());
    for (const auto& outcome : outcomes) rows.push_back(outcome.row);
    const normativ::Status saved =
        normativ::saveWorkbook(normativ::buildSummaryWorkbook(rows), path);
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
    QStringList inputs;
    for (int i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        if (arg == QLatin1String("--own-payroll")) {
            modes.ownPayroll = modes.given = true;
        } else if (arg == QLatin1String("--own-services")) {
            modes.ownServices = modes.given = true;
        } else if (arg == QLatin1String("--summary") ||
                   arg.startsWith(QLatin1String("--summary="))) {
            if (summary) return badUsage(normativ::batchTexts().summaryTwice);
            if (arg.contains(QLatin1Char('='))) {
                summary = arg.section(QLatin1Char('='), 1);
            } else if (i + 1 < args.size()) {
                summary = args[++i];
            }
            if (!summary || summary->isEmpty()) {
                return badUsage(normativ::batchTexts().summaryWithoutName);
            }
        } else if (arg.startsWith(QLatin1Char('-')) && arg.size() > 1) {
            return badUsage(normativ::batchTexts().unknownOption.arg(arg));
        } else {
            inputs << arg;
        }
    }
    if (inputs.isEmpty()) {
        writeText(normativ::batchTexts().usage, stderr);
        return kBadInput;
    }
    const QLocale locale = normativ::userNumberLocale();

    if (inputs.size() == 1 && !QFileInfo(inputs[0]).isDir()) {
        const normativ::InputOutcome outcome = normativ::calculateInput(inputs[0], modes, locale);
        if (summary) {
            if (const auto failure = writeSummary(*summary, {outcome})) return badInput(*failure);
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
        if (const auto failure = writeSummary(*summary, outcomes)) return badInput(*failure);
    }
    print(normativ::batchDocument(outcomes));
    return normativ::batchExitStatus(outcomes);
}
