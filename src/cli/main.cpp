// normativ-calc: computes the normatives of one answers document (JSON), statistical form
// or saved report with the same core as the desktop program and prints the results as
// JSON.

#include "answersdocument.h"
#include "loadedworkbook.h"
#include "normativecalculation.h"
#include "openworkbook.h"
#include "workbookwalk.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QStringList>
#include <algorithm>
#include <clocale>
#include <cstdio>

namespace {

constexpr int kBadInput = 2;
// An answers document is a few kilobytes; anything this large is not one.
constexpr qint64 kMaxDocumentBytes = 16 * 1024 * 1024;

const char kUsage[] =
    "usage: normativ-calc [--own-payroll] [--own-services] FILE\n"
    "Computes the education and maintenance normatives and prints the results as JSON.\n"
    "FILE is an answers document (JSON), or a statistical form or saved report (.xlsx,\n"
    ".xls), recognised by its content. For a workbook, --own-payroll and --own-services\n"
    "stand for the start screen's two check boxes (the institution's own payroll figures,\n"
    "its own services figures); an answers document carries its own modes.\n"
    "Exit status: 0 both normatives computed, 1 a stage refused its inputs (or the\n"
    "distribution was refused), 2 the input can't be used.\n";

int badInput(const QString& message) {
    const QByteArray text = QStringLiteral("normativ-calc: %1\n").arg(message).toUtf8();
    std::fwrite(text.constData(), 1, static_cast<std::size_t>(text.size()), stderr);
    return kBadInput;
}

int badUsage(const QString& message) {
    badInput(message);
    std::fputs(kUsage, stderr);
    return kBadInput;
}

void print(const QByteArray& out) {
    std::fwrite(out.constData(), 1, static_cast<std::size_t>(out.size()), stdout);
    std::fflush(stdout);
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
        std::fputs(kUsage, stdout);
        return 0;
    }
    bool ownPayroll = false;
    bool ownServices = false;
    bool modesGiven = false;
    QStringList files;
    for (const QString& arg : args) {
        if (arg == QLatin1String("--own-payroll")) {
            ownPayroll = modesGiven = true;
        } else if (arg == QLatin1String("--own-services")) {
            ownServices = modesGiven = true;
        } else if (arg.startsWith(QLatin1Char('-')) && arg.size() > 1) {
            return badUsage(QStringLiteral("unknown option %1").arg(arg));
        } else {
            files << arg;
        }
    }
    if (files.size() != 1) {
        std::fputs(kUsage, stderr);
        return kBadInput;
    }
    const QString path = files[0];
    if (QFileInfo(path).isDir()) return badInput(QStringLiteral("%1: is a directory").arg(path));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return badInput(QStringLiteral("%1: cannot read: %2").arg(path, file.errorString()));
    }
    // Read one byte past the larger cap, so that an oversized input is seen as such.
    const qint64 cap = std::max<qint64>(kMaxDocumentBytes, normativ::readlimits::kMaxFileSize);
    const QByteArray input = file.read(cap + 1);
    if (file.error() != QFileDevice::NoError) {
        return badInput(QStringLiteral("%1: cannot read: %2").arg(path, file.errorString()));
    }

    if (normativ::detectWorkbookFormat(input) != normativ::WorkbookFormat::Unknown) {
        normativ::WorkbookRun run =
            normativ::readWorkbookForCalculation(input, ownPayroll, ownServices, QLocale::system());
        if (!run.store) return badInput(QStringLiteral("%1: %2").arg(path, run.refusal));
        if (!run.editorMessage.isEmpty()) {
            print(normativ::editorRefusalDocument(*run.store, run.editorMessage));
            return normativ::resultExitStatus(normativ::ResultTexts{});
        }
        const normativ::ResultTexts result = normativ::runNormativeCalculation(*run.store);
        print(normativ::resultDocument(result, *run.store));
        return normativ::resultExitStatus(result);
    }

    if (modesGiven) {
        return badUsage(
            QStringLiteral(
                "%1: --own-payroll and --own-services apply to workbooks only; an answers "
                "document carries its own UseOwnPayrollData and UseOwnServicesData")
                .arg(path));
    }
    if (input.size() > kMaxDocumentBytes) {
        return badInput(QStringLiteral("%1: larger than %2 bytes, not an answers document")
                            .arg(path)
                            .arg(kMaxDocumentBytes));
    }
    normativ::AnswersDocument document = normativ::loadAnswersDocument(input, QLocale::system());
    if (!document.store) return badInput(QStringLiteral("%1: %2").arg(path, document.error));

    const normativ::ResultTexts result = normativ::runNormativeCalculation(*document.store);
    print(normativ::resultDocument(result, *document.store));
    return normativ::resultExitStatus(result);
}
