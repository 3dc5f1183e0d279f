#include "distributiontable.h"
#include "institutionrecord.h"
#include "numbers.h"

#include <QtTest>

using namespace normativ;

class TestRecord : public QObject {
    Q_OBJECT
  private slots:
    void storeAnswer_data();
    void storeAnswer();
    void choiceGroups();
    void payrollDefaults();
    void stepTables();

    void kindFromText_data();
    void kindFromText();
    void pupilCount_data();
    void pupilCount();
    void completeness_data();
    void completeness();
    void clearAndTotal();
    void holdsFortyTwoRecords();
};

void TestRecord::storeAnswer_data() {
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("marker");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("shown");
    QTest::newRow("decimal comma") << "ru_RU"
                                   << "12,5" << false << 12.5 << "12,5";
    QTest::newRow("point in Russian locale") << "ru_RU"
                                             << "12.5" << true << kNotEnteredMarker << "";
    QTest::newRow("point in English locale") << "en_US"
                                             << "12.5" << false << 12.5 << "12.5";
    QTest::newRow("empty") << "ru_RU"
                           << "" << true << kNotEnteredMarker << "";
    QTest::newRow("letters only") << "ru_RU"
                                  << "много" << true << kNotEnteredMarker << "";
    QTest::newRow("negative kept as typed") << "ru_RU"
                                            << "-7" << false << -7.0 << "-7";
    QTest::newRow("zero passes") << "ru_RU"
                                 << "0" << false << 0.0 << "0";
}

void TestRecord::storeAnswer() {
    QFETCH(QString, locale);
    QFETCH(QString, typed);
    QFETCH(bool, marker);
    QFETCH(double, value);
    QFETCH(QString, shown);
    const QLocale loc(locale);
    InstitutionRecord record;
    record.storeAnswer(Answer::GroupCount, typed, loc);
    const FieldValue& stored = record[Answer::GroupCount];
    QCOMPARE(stored.isNotEnteredMarker(loc), marker);
    QCOMPARE(stored.isNotEntered(loc), marker);
    if (!marker) QCOMPARE(stored, FieldValue::text(typed));
    QCOMPARE(stored.toDouble(loc), value);
    QCOMPARE(record.shownText(Answer::GroupCount, loc), shown);
}

void TestRecord::choiceGroups() {
    const QLocale ru(QLocale::Russian);
    InstitutionRecord record;
    QVERIFY(record[Flag::SettlementIsVillage].isEmpty());
    QVERIFY(record[Flag::SettlementIsVillage].isZero(ru));
    record.setChoice(Flag::KindDevelopmentCentre);
    QCOMPARE(record[Flag::KindPreschoolSenior], FieldValue::integer(0));
    QCOMPARE(record[Flag::KindDevelopmentCentre], FieldValue::integer(1));
    QCOMPARE(record[Flag::KindOther], FieldValue::integer(0));
    QVERIFY(record[Flag::SettlementIsVillage].isEmpty());  // other groups untouched
    record.setChoice(Flag::KindOther);
    QCOMPARE(record[Flag::KindDevelopmentCentre], FieldValue::integer(0));
    QCOMPARE(record[Flag::KindOther], FieldValue::integer(1));
}

void TestRecord::payrollDefaults() {
    const QLocale ru(QLocale::Russian);
    InstitutionRecord record;
    record.storeAnswer(Answer::MinTeacherSalary, QStringLiteral("15000"), ru);
    record.storeAnswer(Answer::TeacherIncentiveFund, QString(), ru);
    record.writePayrollDefaults(Methodology::example()->payrollDefaults);
    QCOMPARE(record[Answer::MinTeacherSalary], FieldValue::single(8700.0f));
    QCOMPARE(record[Answer::TeacherPayrollFund], FieldValue::single(8700.0f));
    QCOMPARE(record[Answer::TeacherCompensationFund], FieldValue::single(2900.0f));
    QCOMPARE(record[Answer::TeacherIncentiveFund], FieldValue::single(0.0f));
    QCOMPARE(record.shownText(Answer::MinTeacherSalary, ru), QStringLiteral("8700"));
}

void TestRecord::stepTables() {
    QCOMPARE(int(answerTable().size()), kAnswerCount);
    QCOMPARE(*answerForStep(1), Answer::PupilCount);
    QCOMPARE(*answerForStep(54), Answer::ParentFeePerMonth);
    QCOMPARE(answerInfo(Answer::ParentFeePerMonth).reportRow, 41);
    for (int step : {3, 4, 5, 20, 55, 56}) QVERIFY(!answerForStep(step));
    for (int step = 21; step <= 54; ++step) QCOMPARE(answerInfo(*answerForStep(step)).step, step);
    QCOMPARE(int(flagsOfStep(4).size()), 3);
    QCOMPARE(int(flagsOfStep(55).size()), 2);
    QVERIFY(flagsOfStep(2).empty());
    QCOMPARE(*answerByName(QStringLiteral("LandTaxRate")), Answer::LandTaxRate);
    QVERIFY(!answerByName(QStringLiteral("landtaxrate")));
}

void TestRecord::kindFromText_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("item");
    QTest::newRow("age 3") << 1 << "старше 3-х лет" << 3;
    QTest::newRow("stay 9") << 2 << "группы круглосуточного пребывания" << 9;
    QTest::newRow("orientation 4 with en dash")
        << 3
        << QString::fromUtf8(
               "группы для детей с нарушением слуха (слабослышащих), опорно \u2013 "
               "двигательного аппарата, с умственной отсталостью средней и "
               "тяжелой степени")
        << 4;
    QTest::newRow("orientation 4 with hyphen is no item")
        << 3
        << QStringLiteral(
               "группы для детей с нарушением слуха (слабослышащих), опорно - "
               "двигательного аппарата, с умственной отсталостью средней и тяжелой "
               "степени")
        << 0;
    QTest::newRow("empty text") << 3 << "" << 0;
    QTest::newRow("item of another kind") << 1 << "общеразвивающие группы" << 0;
}

void TestRecord::kindFromText() {
    QFETCH(int, kind);
    QFETCH(QString, text);
    QFETCH(int, item);
    DistributionTable table;
    const Kind k = static_cast<Kind>(kind);
    table.storeKindText(5, k, kindItemTexts(k).last());
    table.storeKindText(5, k, text);
    const int expected = item == 0 ? usedItemCount(k) : item;  // unknown text keeps the old
    for (int i = 1; i <= 9; ++i)
        QCOMPARE(table.cell(5, k, i), Currency::fromWhole(i == expected ? 1 : 0));
    QCOMPARE(*table.kindText(5, k), kindItemTexts(k)[expected - 1]);
    QVERIFY(!table.kindText(4, k));
}

void TestRecord::pupilCount_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<qint64>("raw");
    QTest::addColumn<QString>("shown");
    QTest::newRow("whole") << "25" << qint64(250000) << "25";
    QTest::newRow("fraction with comma") << "12,5" << qint64(125000) << "12,5";
    QTest::newRow("negative") << "-3" << qint64(-30000) << "-3";
    QTest::newRow("fifth decimal a tie: to even on the typed digits")
        << "24,55935" << qint64(245594) << "24,5594";
    QTest::newRow("letters") << "двадцать" << qint64(792658303460000) << "79265830346";
    QTest::newRow("empty") << "" << qint64(792658303460000) << "79265830346";
    QTest::newRow("beyond the currency range")
        << "1e20" << qint64(792658303460000) << "79265830346";
}

void TestRecord::pupilCount() {
    QFETCH(QString, typed);
    QFETCH(qint64, raw);
    QFETCH(QString, shown);
    const QLocale ru(QLocale::Russian);
    DistributionTable table;
    table.storePupilText(1, typed, ru);
    QCOMPARE(table.pupils(1).raw(), raw);
    QCOMPARE(table.pupilText(1, ru), shown);
}

void TestRecord::completeness_data() {
    QTest::addColumn<bool>("age");
    QTest::addColumn<bool>("stay");
    QTest::addColumn<bool>("orientation");
    QTest::addColumn<QString>("pupils");
    QTest::addColumn<bool>("complete");
    QTest::newRow("all chosen, zero pupils") << true << true << true << "0" << true;
    QTest::newRow("all chosen, marker") << true << true << true << "x" << false;
    QTest::newRow("no orientation") << true << true << false << "5" << false;
    QTest::newRow("nothing") << false << false << false << "5" << false;
}

void TestRecord::completeness() {
    QFETCH(bool, age);
    QFETCH(bool, stay);
    QFETCH(bool, orientation);
    QFETCH(QString, pupils);
    QFETCH(bool, complete);
    DistributionTable table;
    if (age) table.storeKindText(2, Kind::AgeClass, kindItemTexts(Kind::AgeClass)[0]);
    if (stay) table.storeKindText(2, Kind::StayMode, kindItemTexts(Kind::StayMode)[4]);
    if (orientation) table.storeKindText(2, Kind::Orientation, kindItemTexts(Kind::Orientation)[1]);
    table.storePupilText(2, pupils, QLocale(QLocale::Russian));
    QCOMPARE(table.isComplete(2), complete);
}

void TestRecord::clearAndTotal() {
    const QLocale ru(QLocale::Russian);
    DistributionTable table;
    table.recordCount = FieldValue::integer(3);
    table.storePupilText(1, QStringLiteral("12,5"), ru);
    table.storePupilText(2, QStringLiteral("-2,5"), ru);
    table.storePupilText(3, QStringLiteral("40"), ru);
    table.storePupilText(4, QStringLiteral("1000"), ru);  // beyond the count: not summed
    QCOMPARE(*table.distributedPupilTotal(), Currency::fromWhole(50));

    table.storeKindText(3, Kind::Orientation, kindItemTexts(Kind::Orientation)[5]);
    table.storePupilText(3, QStringLiteral("нет"), ru);
    table.clearRecord(3);
    for (Kind k : {Kind::AgeClass, Kind::StayMode, Kind::Orientation, Kind::GroupPupilCount})
        for (int i = 1; i <= 9; ++i) QCOMPARE(table.cell(3, k, i), Currency());
    QCOMPARE(table.pupilText(3, ru), QStringLiteral("0"));
    QVERIFY(!table.kindText(3, Kind::Orientation));
}

void TestRecord::holdsFortyTwoRecords() {
    QCOMPARE(kMaxDistributionRecords, 42);
    DistributionTable table;
    table.storePupilText(42, QStringLiteral("1"), QLocale::c());
    QCOMPARE(table.pupils(42), Currency::fromWhole(1));
    table.recordCount = FieldValue::integer(43);
    QCOMPARE(table.usedRecords(), 42);
    table.recordCount = FieldValue::number(-5);
    QCOMPARE(table.usedRecords(), 0);
    table.recordCount = FieldValue();
    QCOMPARE(*table.distributedPupilTotal(), Currency());
}

QTEST_GUILESS_MAIN(TestRecord)
#include "test_record.moc"
