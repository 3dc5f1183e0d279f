// Not a test: writes the example methodology into a folder as the fuzzer's seeds, once as
// its own workbook and once stacked on the sheet of a report:
//   write_methodology_seeds fuzz/seeds/fuzz_methodology
#include "methodologyworkbook.h"
#include "savexlsx.h"

#include <QDir>

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: write_methodology_seeds FOLDER\n");
        return 2;
    }
    using namespace normativ;
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    const Methodology& example = *Methodology::example();
    Workbook report;
    report.addSheet(QStringLiteral("Отчет")).setText(QStringLiteral("A1"), QStringLiteral("Отчет"));
    addMethodologySheet(report, example);
    const std::pair<QString, const Workbook*> books[] = {
        {QStringLiteral("example.xlsx"), nullptr},
        {QStringLiteral("report.xlsx"), &report},
    };
    const Workbook own = buildMethodologyWorkbook(example);
    for (const auto& [name, book] : books) {
        const Status saved = saveWorkbook(book ? *book : own, folder.filePath(name));
        if (!saved) {
            std::fprintf(stderr, "%s\n", qPrintable(saved.error()));
            return 1;
        }
    }
    return 0;
}
