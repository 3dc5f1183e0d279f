#include "calctesthelpers.h"
#include "methodology.h"
#include "weightingpass.h"

#include <QtTest>
#include <limits>

using namespace normativ;
using namespace calctest;

class TestWeightingPass : public QObject {
    Q_OBJECT
  private slots:
    void oneRecord_data();
    void oneRecord();
    void orientationWeightsCountAtFourDecimals_data();
    void orientationWeightsCountAtFourDecimals();
    void severalItemsOfOneKindAddTheirWeights();
    void recordsAddPupilWeightedShares();
    void onlyRecordsInUseCount();
    void failureLeavesTheTableAlone_data();
    void failureLeavesTheTableAlone();
};

namespace {

const Methodology& example() {
    return *Methodology::example();
}

const WeightSet& weightSet(const QString& name) {
    if (name == QLatin1String("E1")) return example().educationLoad;
    if (name == QLatin1String("E2")) return example().educationSupportLoad;
    if (name == QLatin1String("M1")) return example().maintenanceLoadA;
    if (name == QLatin1String("M2")) return example().maintenanceLoadB;
    return example().serviceItemLoad;
}

}  // namespace

void TestWeightingPass::oneRecord_data() {
    QTest::addColumn<QString>("set");
    QTest::addColumn<int>("age");
    QTest::addColumn<int>("stay");
    QTest::addColumn<int>("orientation");
    QTest::addColumn<QString>("pupils");
    QTest::addColumn<QString>("pupilCount");
    QTest::addColumn<qint64>("weight");
    QTest::addColumn<double>("loadFactor");
    QTest::newRow("E1: 20 older children, 12 hours, general, is 1") << "E1" << 3 << 7 << 1 << "20"
                                                                    << "20" << qint64(10000) << 1.0;
    QTest::newRow("E2: the same record is 1") << "E2" << 3 << 7 << 1 << "20"
                                              << "20" << qint64(10000) << 1.0;
    QTest::newRow("M3: 10 older children, 6 hours, general, is 1") << "M3" << 3 << 4 << 1 << "10"
                                                                   << "10" << qint64(10000) << 1.0;
    QTest::newRow("E1: health orientation weighs 1.3333, not 1.3333334")
        << "E1" << 3 << 7 << 2 << "1"
        << "1" << qint64(13333) << 1.3333;
    QTest::newRow("E1: product of age and stay rounds to four decimals")
        << "E1" << 1 << 1 << 1 << "1"
        << "1" << qint64(4126) << 0.4126;
    QTest::newRow("M1: all three weights multiply") << "M1" << 2 << 9 << 6 << "1"
                                                    << "1" << qint64(124046) << 12.4046;
    QTest::newRow("E2: the stay mode does not count") << "E2" << 1 << 9 << 3 << "1"
                                                      << "1" << qint64(2790) << 0.279;
    QTest::newRow("pupils times weight rounds half to even") << "E1" << 3 << 7 << 2 << "12,5"
                                                             << "1" << qint64(13333) << 16.6662;
    QTest::newRow("pupils are divided by the pupil count") << "E1" << 3 << 7 << 1 << "10"
                                                           << "40" << qint64(10000) << 0.25;
    QTest::newRow("negative pupils subtract") << "E1" << 3 << 7 << 2 << "-3"
                                              << "1" << qint64(13333) << -3.9999;
    QTest::newRow("a record without choices weighs 0") << "E1" << 0 << 0 << 0 << "10"
                                                       << "10" << qint64(0) << 0.0;
}

void TestWeightingPass::oneRecord() {
    QFETCH(QString, set);
    QFETCH(int, age);
    QFETCH(int, stay);
    QFETCH(int, orientation);
    QFETCH(QString, pupils);
    QFETCH(QString, pupilCount);
    QFETCH(qint64, weight);
    QFETCH(double, loadFactor);
    Store store(russian());
    const QByteArray pupilsText = pupils.toUtf8();
    setRecords(store, {{age, stay, orientation, pupilsText.constData()}});
    store.record.storeAnswer(Answer::PupilCount, pupilCount, store.locale);
    const auto result = runWeightingPass(store, weightSet(set));
    QVERIFY(result);
    CALC_COMPARE_EXACT(*result, loadFactor);
    QCOMPARE(store.coefficients.groupWeightTable[0].raw(), weight);
}

void TestWeightingPass::orientationWeightsCountAtFourDecimals_data() {
    QTest::addColumn<int>("orientation");
    QTest::addColumn<qint64>("weight");
    QTest::newRow("general") << 1 << qint64(10000);
    QTest::newRow("health") << 2 << qint64(13333);
    QTest::newRow("speech and sight") << 3 << qint64(35771);
    QTest::newRow("hearing and movement") << 4 << qint64(44714);
    QTest::newRow("blind and deaf") << 5 << qint64(59619);
    QTest::newRow("complex defects") << 6 << qint64(71542);
}

void TestWeightingPass::orientationWeightsCountAtFourDecimals() {
    QFETCH(int, orientation);
    QFETCH(qint64, weight);
    Store store(russian());
    setRecords(store, {{3, 7, orientation, "1"}});
    setAnswers(store, {{Answer::PupilCount, "1"}});
    QVERIFY(runWeightingPass(store, example().educationLoad));
    QCOMPARE(store.coefficients.groupWeightTable[0].raw(), weight);
}

void TestWeightingPass::severalItemsOfOneKindAddTheirWeights() {
    // The editor never sets two items of a kind, but a loaded workbook can.
    Store store(russian());
    setRecords(store, {{3, 7, 2, "1"}});
    store.distribution.setCell(1, Kind::Orientation, 3, Currency::fromWhole(1));
    store.distribution.setCell(1, Kind::StayMode, 1, Currency::fromWhole(1));
    store.distribution.setCell(1, Kind::StayMode, 7, Currency());
    store.distribution.setCell(1, Kind::StayMode, 2, Currency::fromWhole(1));
    setAnswers(store, {{Answer::PupilCount, "1"}});
    QVERIFY(runWeightingPass(store, example().educationLoad));
    // (0.32342082 + 0.24256563) × (1.3333 + 3.5771), rounded.
    QCOMPARE(store.coefficients.groupWeightTable[0].raw(), qint64(27792));
}

void TestWeightingPass::recordsAddPupilWeightedShares() {
    Store store(russian());
    setRecords(store, {{2, 5, 1, "12,5"}, {3, 7, 2, "20"}, {1, 9, 6, "12,5"}});
    setAnswers(store, {{Answer::PupilCount, "45"}});
    const auto loadFactor = runWeightingPass(store, example().educationLoad);
    QVERIFY(loadFactor);
    // 0.8636 × 12.5 = 10.795, 1.3333 × 20 = 26.666, 14.1371 × 12.5 = 176.71375 rounds to even
    // 176.7138; each share is divided by 45 and added in record order.
    CALC_COMPARE_EXACT(*loadFactor, ((10.795 / 45) + 26.666 / 45) + 176.7138 / 45);
    QCOMPARE(store.coefficients.groupWeightTable[0].raw(), qint64(8636));
    QCOMPARE(store.coefficients.groupWeightTable[1].raw(), qint64(13333));
    QCOMPARE(store.coefficients.groupWeightTable[2].raw(), qint64(141371));
}

void TestWeightingPass::onlyRecordsInUseCount() {
    Store store(russian());
    setRecords(store, {{3, 7, 1, "20"}, {1, 1, 6, "20"}});
    setAnswers(store, {{Answer::PupilCount, "20"}});
    store.coefficients.groupWeightTable[1] = Currency::fromWhole(9);
    store.distribution.recordCount = FieldValue::integer(1);
    CALC_COMPARE_EXACT(*runWeightingPass(store, example().educationLoad), 1.0);
    QCOMPARE(store.coefficients.groupWeightTable[1], Currency::fromWhole(9));

    store.distribution.recordCount = FieldValue::integer(0);
    CALC_COMPARE_EXACT(*runWeightingPass(store, example().educationLoad), 0.0);
    store.distribution.recordCount = FieldValue();
    CALC_COMPARE_EXACT(*runWeightingPass(store, example().educationLoad), 0.0);
}

void TestWeightingPass::failureLeavesTheTableAlone_data() {
    QTest::addColumn<QString>("pupils");
    QTest::addColumn<QString>("pupilCount");
    QTest::newRow("pupils times weight overflows") << "max"
                                                   << "45";
    QTest::newRow("pupil count 0 with records") << "20"
                                                << "0";
}

void TestWeightingPass::failureLeavesTheTableAlone() {
    QFETCH(QString, pupils);
    QFETCH(QString, pupilCount);
    Store store(russian());
    setRecords(store, {{3, 7, 1, "20"}, {3, 7, 6, "20"}});
    if (pupils == QLatin1String("max")) {
        store.distribution.setCell(2, Kind::GroupPupilCount, 1,
                                   Currency::fromRaw(std::numeric_limits<qint64>::max() / 2));
    }
    store.record.storeAnswer(Answer::PupilCount, pupilCount, store.locale);
    store.coefficients.groupWeightTable.fill(Currency::fromWhole(5));
    QVERIFY(!runWeightingPass(store, example().educationLoad));
    QCOMPARE(store.coefficients.groupWeightTable[0], Currency::fromWhole(5));
    QCOMPARE(store.coefficients.groupWeightTable[1], Currency::fromWhole(5));
}

QTEST_GUILESS_MAIN(TestWeightingPass)
#include "test_weightingpass.moc"
