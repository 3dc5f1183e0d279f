// normativ-calc: computes the normatives of one answers document (JSON) with the same
// core as the desktop program and prints the results as JSON.

#include "answersdocument.h"
#include "normativecalculation.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QStringList>
#include <clocale>
#include <cstdio>

namespace {

constexpr int kBadInput = 2;
// An answers document is a few kilobytes; anything this large is not one.
constexpr qint64 kMaxDocumentBytes = 16 * 1024 * 1024;

const char kUsage[] =
    "usage: normativ-calc ANSWERS.json\n"
    "Computes the education and maintenance normatives of the answers document and prints\n"
    "the results as JSON. Exit status: 0 both normatives computed, 1 a stage refused its\n"
    "inputs, 2 the input can't be used.\n";

int badInput(const QString& message) {
    const QByteArray text = QStringLiteral("normativ-calc: %1\n").arg(message).toUtf8();
    std::fwrite(text.constData(), 1, static_cast<std::size_t>(text.size()), stderr);
    return kBadInput;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    // Qt has set the C library's locale from the environment; numbers in files must not
    // depend on it.
    std::setlocale(LC_NUMERIC, "C");

    const QStringList args = QCoreApplication::arguments();
    if (args.size() == 2 &&
        (args[1] == QLatin1String("--help") || args[1] == QLatin1String("-h"))) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (args.size() != 2) {
        std::fputs(kUsage, stderr);
        return kBadInput;
    }
    const QString path = args[1];
    if (QFileInfo(path).isDir()) return badInput(QStringLiteral("%1: is a directory").arg(path));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return badInput(QStringLiteral("%1: cannot read: %2").arg(path, file.errorString()));
    }
    const QByteArray json = file.read(kMaxDocumentBytes + 1);
    if (json.size() > kMaxDocumentBytes) {
        return badInput(QStringLiteral("%1: larger than %2 bytes, not an answers document")
                            .arg(path)
                            .arg(kMaxDocumentBytes));
    }

    normativ::AnswersDocument document = normativ::loadAnswersDocument(json, QLocale::system());
    if (!document.store) return badInput(QStringLiteral("%1: %2").arg(path, document.error));

    const normativ::ResultTexts result = normativ::runNormativeCalculation(*document.store);
    const QByteArray out = normativ::resultDocument(result, *document.store);
    std::fwrite(out.constData(), 1, static_cast<std::size_t>(out.size()), stdout);
    std::fflush(stdout);
    return normativ::resultExitStatus(result);
}
