// Writes, for bench/batch, the saved report the program makes of each workbook of a folder:
// the workbook loaded, walked through the wizard and computed, then saved as the desktop
// program saves its report. The reports another spreadsheet writer made become reports of
// the program's own writer, with the same answers.

#include "normativecalculation.h"
#include "savedreport.h"
#include "savexlsx.h"
#include "workbookwalk.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 3) {
        std::fputs("usage: write_saved_reports FROM_FOLDER TO_FOLDER\n", stderr);
        return 2;
    }
    const QDir from(args[1]);
    if (!QDir().mkpath(args[2])) return 1;
    const QLocale russian(QLocale::Russian, QLocale::Russia);
    int written = 0;
    for (const QString& name :
         from.entryList({QStringLiteral("*.xlsx")}, QDir::Files, QDir::Name)) {
        QFile file(from.filePath(name));
        if (!file.open(QIODevice::ReadOnly)) return 1;
        normativ::WorkbookRun run =
            normativ::readWorkbookForCalculation(file.readAll(), false, false, russian);
        if (!run.store) {
            std::fprintf(stderr, "%s: %s\n", qPrintable(name), qPrintable(run.refusal));
            return 1;
        }
        if (run.editorMessage.isEmpty()) (void)normativ::runNormativeCalculation(*run.store);
        const normativ::Status saved = normativ::saveWorkbook(
            normativ::buildSavedReport(*run.store), QDir(args[2]).filePath(name));
        if (!saved) {
            std::fprintf(stderr, "%s\n", qPrintable(saved.error()));
            return 1;
        }
        ++written;
    }
    std::printf("%d saved reports written\n", written);
    return 0;
}
