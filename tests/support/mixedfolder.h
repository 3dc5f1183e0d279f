#pragma once

// A folder such as a department's: saved reports, a statistical form, a refused
// calculation, a wrong file, a report another spreadsheet program wrote.

#include "answers.h"
#include "savedreport.h"
#include "savexlsx.h"
#include "store.h"
#include "workbook.h"

#include <QFile>
#include <QtTest>

namespace normativ::test {

inline const QString kFormatFixtures = QStringLiteral(NORMATIV_FORMAT_FIXTURES);

/// A saved report of the standard record of 45 pupils (as the program writes it),
/// named `institution`; with `groups` empty, the group count was never answered.
inline Workbook report(const QString& institution, const QString& groups = QStringLiteral("3")) {
    Store store(QLocale(QLocale::Russian, QLocale::Russia));
    store.record.institutionName = FieldValue::text(institution);
    store.record.planningYear = FieldValue::text(QStringLiteral("2011"));
    const std::pair<Answer, QString> answers[] = {{Answer::PupilCount, QStringLiteral("45")},
                                                  {Answer::GroupCount, groups},
                                                  {Answer::MonthsOfOperation, QStringLiteral("12")},
                                                  {Answer::ParentFeePerMonth, "1500,5"}};
    for (const auto& [a, typed] : answers) store.record.storeAnswer(a, typed, store.locale);
    store.record.writePayrollDefaults(store.methodology->payrollDefaults);
    store.record.setChoice(Flag::SettlementIsCity);
    store.record.setChoice(Flag::KindPreschoolSenior);
    store.record.setChoice(Flag::FiveDayWeek);
    const int records[3][3] = {{2, 5, 1}, {3, 7, 2}, {1, 9, 6}};
    const char* pupils[3] = {"12,5", "20", "12,5"};
    for (int r = 1; r <= 3; ++r) {
        for (int k = 0; k < 3; ++k) {
            const Kind kind = static_cast<Kind>(k + 1);
            store.distribution.storeKindText(r, kind, kindItemTexts(kind)[records[r - 1][k] - 1]);
        }
        store.distribution.storePupilText(r, QString::fromLatin1(pupils[r - 1]), store.locale);
    }
    store.distribution.recordCount = FieldValue::integer(3);
    return buildSavedReport(store);
}

/// A folder holding what a department's folder holds, named so that their byte order is
/// 1 to 5 (and a file that is no workbook, which is not an input).
inline void fillMixedFolder(const QString& folder) {
    QVERIFY(saveWorkbook(report(QStringLiteral("Детский сад №1")), folder + "/1-report.xlsx").ok());
    QVERIFY(QFile::copy(kFormatFixtures + "/statforms/statform.xls", folder + "/2-statform.xls"));
    QVERIFY(saveWorkbook(report(QStringLiteral("Детский сад №3"), QString()),
                         folder + "/3-refused.xlsx")
                .ok());
    QFile wrong(folder + "/4-wrong.xlsx");
    QVERIFY(wrong.open(QIODevice::WriteOnly));
    wrong.write("Сводка за 2011 год\n");
    wrong.close();
    QVERIFY(
        QFile::copy(kFormatFixtures + "/reports/report_openpyxl.xlsx", folder + "/5-editor.xlsx"));
    QFile notes(folder + "/readme.txt");
    QVERIFY(notes.open(QIODevice::WriteOnly));
}

}  // namespace normativ::test
