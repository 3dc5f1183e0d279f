#pragma once

#include "distributiontable.h"
#include "fieldvalueprinting.h"
#include "store.h"

#include <QLocale>
#include <QString>
#include <QtTest>
#include <initializer_list>
#include <utility>

namespace calctest {

inline QLocale russian() {
    return QLocale(QLocale::Russian, QLocale::Russia);
}
inline QLocale english() {
    return QLocale(QLocale::English, QLocale::UnitedStates);
}

/// One distribution record as the editor would store it (items 1-based, 0 = not chosen).
struct RecordSpec {
    int age = 0;
    int stay = 0;
    int orientation = 0;
    const char* pupils = "0";
};

/// Stores the records 1..n the way the editor does and sets the record count to n.
template <typename Records>
void setRecordList(normativ::Store& store, const Records& records) {
    using normativ::Kind;
    int r = 0;
    for (const RecordSpec& wanted : records) {
        ++r;
        store.distribution.clearRecord(r);
        const std::pair<Kind, int> kinds[] = {{Kind::AgeClass, wanted.age},
                                              {Kind::StayMode, wanted.stay},
                                              {Kind::Orientation, wanted.orientation}};
        for (const auto& [kind, item] : kinds) {
            if (item > 0) {
                store.distribution.storeKindText(r, kind, normativ::kindItemTexts(kind)[item - 1]);
            }
        }
        store.distribution.storePupilText(r, QString::fromUtf8(wanted.pupils), store.locale);
    }
    store.distribution.recordCount = normativ::FieldValue::integer(r);
}

inline void setRecords(normativ::Store& store, std::initializer_list<RecordSpec> records) {
    setRecordList(store, records);
}

/// Stores typed answers by the answer-box rule.
inline void setAnswers(normativ::Store& store,
                       std::initializer_list<std::pair<normativ::Answer, const char*>> answers) {
    for (const auto& [answer, text] : answers) {
        store.record.storeAnswer(answer, QString::fromUtf8(text), store.locale);
    }
}

/// A usable standard-way record: 45 pupils in 3 groups, a city kindergarten for older
/// children, payroll defaults, five-day week, twelve months, three records. Every
/// stage computes on it.
inline void fillStandardRecord(normativ::Store& store) {
    using normativ::Answer;
    using normativ::Flag;
    const bool ru = store.locale.decimalPoint() == QLatin1Char(',');
    store.record.planningYear = normativ::FieldValue::text(QStringLiteral("2011"));
    store.record.useOwnPayrollData = normativ::FieldValue::integer(0);
    store.record.useOwnServicesData = normativ::FieldValue::integer(0);
    setAnswers(store, {{Answer::PupilCount, "45"},
                       {Answer::GroupCount, "3"},
                       {Answer::MonthsOfOperation, "12"},
                       {Answer::ParentFeePerMonth, ru ? "1500,5" : "1500.5"}});
    store.record.writePayrollDefaults(store.methodology->payrollDefaults);
    store.record.setChoice(Flag::SettlementIsCity);
    store.record.setChoice(Flag::KindPreschoolSenior);
    store.record.setChoice(Flag::FiveDayWeek);
    setRecords(store,
               {{2, 5, 1, ru ? "12,5" : "12.5"}, {3, 7, 2, "20"}, {1, 9, 6, ru ? "12,5" : "12.5"}});
}

/// The standard record turned into an own-data one: own payroll figures and every cost,
/// volume, tariff and rate answered.
inline void fillOwnDataRecord(normativ::Store& store) {
    using normativ::Answer;
    fillStandardRecord(store);
    store.record.useOwnPayrollData = normativ::FieldValue::integer(1);
    store.record.useOwnServicesData = normativ::FieldValue::integer(1);
    setAnswers(store, {{Answer::MinTeacherSalary, "15000"},
                       {Answer::TeacherPayrollFund, "9800000"},
                       {Answer::TeacherCompensationFund, "1200000"},
                       {Answer::TeacherIncentiveFund, "850000"}});
    for (const auto& info : normativ::answerTable()) {
        if (info.step >= 26 && info.step <= 53) {
            store.record.storeAnswer(info.answer, QStringLiteral("100"), store.locale);
        }
    }
}

}  // namespace calctest

/// Exact comparison of doubles (QCOMPARE is fuzzy for them), printing 17 digits.
#define CALC_COMPARE_EXACT(actual, expected)                         \
    do {                                                             \
        const double actual_ = (actual);                             \
        const double expected_ = (expected);                         \
        if (!(actual_ == expected_)) {                               \
            QFAIL(qPrintable(QStringLiteral("%1 is %2, expected %3") \
                                 .arg(QStringLiteral(#actual))       \
                                 .arg(actual_, 0, 'g', 17)           \
                                 .arg(expected_, 0, 'g', 17)));      \
        }                                                            \
    } while (false)
