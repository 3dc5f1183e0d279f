#include "estimatefixtures.h"
#include "estimatetexts.h"
#include "numbers.h"
#include "servicesestimate.h"

#include <QtTest>

using namespace normativ;
using namespace normativ::fixtures;

namespace {

Store storeOf(const QString& name) {
    if (name == "standard") return standardStore();
    if (name == "own") return ownFiguresStore();
    return englishStore();
}

QStringList texts(const ServicesEstimate& estimate) {
    QStringList out;
    for (const QString& t : estimate.texts) out << t;
    return out;
}

}  // namespace

class TestServicesEstimate : public QObject {
    Q_OBJECT
  private slots:
    void fullEstimate_data();
    void fullEstimate();
    void totalSubsidyAsShown_data();
    void totalSubsidyAsShown();
    void perPupilFromTotalWithDecimalComma();
    void noPupilsShowsZero();
    void copyForTheWorkbook_data();
    void copyForTheWorkbook();
};

void TestServicesEstimate::fullEstimate_data() {
    QTest::addColumn<QString>("fixture");
    QTest::addColumn<QString>("payrollTotal");  // Text225 of the payroll grid
    QTest::addColumn<QStringList>("expected");  // Text121 … Text134
    // Figures derived independently by derive_expected.py from the fixtures' answers.
    QTest::newRow("standard amounts, other expenses positive")
        << "standard"
        << "10001600" << QStringList{"9039",       "858714,97",  "307",     "29190,13", "19784",
                                     "1879471,46", "27",         "2577,66", "4077",     "387354,12",
                                     "30931",      "2938445,45", "63831",   "6063986"};
    QTest::newRow("own figures: communications and transport in other expenses, negative rest")
        << "own"
        << "16887924"
        << QStringList{"13293",      "1568612,18",    "см. пр. расх.", "см. пр. расх.", "22320",
                       "2633750,54", "см. пр. расх.", "см. пр. расх.", "7575",          "893869,25",
                       "-73285",     "-8647584,97",   "-30096",        "-3551353"};
    QTest::newRow("standard amounts, English")
        << "english"
        << "4352700" << QStringList{"8552",      "376267.87", "291",     "12790.40", "18717",
                                    "823538.37", "26",        "1129.47", "3857",     "169729.09",
                                    "17663",     "777158.67", "48789",   "2146694"};
}

void TestServicesEstimate::fullEstimate() {
    QFETCH(QString, fixture);
    QFETCH(QString, payrollTotal);
    QFETCH(QStringList, expected);
    const Store store = storeOf(fixture);
    const ServicesEstimate estimate = computeServicesEstimate(store, payrollTotal);
    QCOMPARE(texts(estimate), expected);

    // Other expenses are the rest: the grand total is the subsidy and the parents'
    // payments less the payroll, up to the cents of the shown totals.
    const QLocale& loc = store.locale;
    const double pupils = store.record[Answer::PupilCount].toDouble(loc);
    const double rest = *parseNumber(shownTotalSubsidyText(store), loc) +
                        pupils * store.record[Answer::MonthsOfOperation].toDouble(loc) *
                            store.record[Answer::ParentFeePerMonth].toDouble(loc) -
                        *parseNumber(payrollTotal, loc);
    QVERIFY(qAbs(*parseNumber(estimate.box(134), loc) - rest) < 0.05);
}

void TestServicesEstimate::totalSubsidyAsShown_data() {
    QTest::addColumn<double>("educationNorm");
    QTest::addColumn<double>("maintenanceNorm");
    QTest::addColumn<QString>("pupils");
    QTest::addColumn<QString>("expected");
    QTest::newRow("rounded maintenance normative times the pupils") << 1000.4 << 2000.4 << "3"
                                                                    << "9001";
    QTest::newRow("negative maintenance normative") << 45678.5 << -12.5 << "2"
                                                    << "91331";
}

void TestServicesEstimate::totalSubsidyAsShown() {
    QFETCH(double, educationNorm);
    QFETCH(double, maintenanceNorm);
    QFETCH(QString, pupils);
    QFETCH(QString, expected);
    Store store(russian());
    store.record.storeAnswer(Answer::PupilCount, pupils, store.locale);
    store.record.educationNorm = FieldValue::number(educationNorm);
    store.record.maintenanceNorm = FieldValue::number(maintenanceNorm);
    QCOMPARE(shownTotalSubsidyText(store), expected);
}

void TestServicesEstimate::perPupilFromTotalWithDecimalComma() {
    Store store(russian());
    store.record.useOwnServicesData = FieldValue::integer(1);
    setAnswers(store, {{Answer::PupilCount, "1"},
                       {Answer::ColdWaterVolume, "1"},
                       {Answer::ColdWaterTariff, "1234,56"}});
    const ServicesEstimate estimate = computeServicesEstimate(store, QStringLiteral("0"));
    QCOMPARE(estimate.total(1), QStringLiteral("1234,56"));
    QCOMPARE(estimate.perPupil(1), QStringLiteral("1235"));
    QCOMPARE(estimate.total(6), QStringLiteral("-1234,56"));
    QCOMPARE(estimate.box(134), QStringLiteral("0"));
}

void TestServicesEstimate::noPupilsShowsZero() {
    for (Store store : {standardStore(), ownFiguresStore()}) {
        store.record.storeAnswer(Answer::PupilCount, QStringLiteral("0"), store.locale);
        const ServicesEstimate estimate = computeServicesEstimate(store, QStringLiteral("1000"));
        for (int line = 1; line <= 7; ++line) {
            if (estimate.perPupil(line) == estimateTexts().seeOtherExpenses) continue;
            QCOMPARE(estimate.perPupil(line), QStringLiteral("0"));
            QVERIFY(isNumericText(estimate.total(line), store.locale));
        }
    }
}

void TestServicesEstimate::copyForTheWorkbook_data() {
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("grandTotal");
    QTest::addColumn<qint64>("raw");
    QTest::newRow("whole roubles") << "ru_RU"
                                   << "6063986" << Q_INT64_C(60639860000);
    QTest::newRow("negative") << "ru_RU"
                              << "-3551353" << Q_INT64_C(-35513530000);
    QTest::newRow("decimal comma") << "ru_RU"
                                   << "1234,5678" << Q_INT64_C(12345678);
    QTest::newRow("decimal point") << "en_US"
                                   << "2146694.5" << Q_INT64_C(21466945000);
    QTest::newRow("not a number counts 0") << "ru_RU"
                                           << "Text134" << Q_INT64_C(0);
}

void TestServicesEstimate::copyForTheWorkbook() {
    QFETCH(QString, locale);
    QFETCH(QString, grandTotal);
    QFETCH(qint64, raw);
    std::array<QString, ServicesEstimate::kBoxes> shown;
    for (int i = 0; i < ServicesEstimate::kBoxes; ++i)
        shown[i] = QStringLiteral("box%1").arg(121 + i);
    shown[13] = grandTotal;
    const SavedServicesEstimateText copy = servicesCopy(shown, QLocale(locale));
    QCOMPARE(copy.box(121), QStringLiteral("box121"));
    QCOMPARE(copy.box(133), QStringLiteral("box133"));
    QCOMPARE(copy.grandTotal.raw(), raw);
}

QTEST_GUILESS_MAIN(TestServicesEstimate)
#include "test_servicesestimate.moc"
