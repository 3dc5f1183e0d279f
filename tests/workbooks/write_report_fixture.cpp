// Writes the saved report of the report record to the path given, for
// tests/fixtures/reports/make_reports.py to re-save with another program.

#include "reportstores.h"
#include "savedreport.h"
#include "savexlsx.h"

#include <QString>
#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: write_report_fixture OUT.xlsx\n", stderr);
        return 2;
    }
    const normativ::Status saved = normativ::saveWorkbook(
        normativ::buildSavedReport(formatstest::reportStore()), QString::fromLocal8Bit(argv[1]));
    if (!saved.ok()) {
        std::fputs(qPrintable(saved.error() + QLatin1Char('\n')), stderr);
        return 1;
    }
    return 0;
}
