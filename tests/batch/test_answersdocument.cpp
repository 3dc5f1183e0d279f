#include "answersdocument.h"
#include "normativecalculation.h"
#include "numbers.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtTest>

using namespace normativ;

namespace {

QLocale russian() {
    return QLocale(QLocale::Russian, QLocale::Russia);
}
QLocale english() {
    return QLocale(QLocale::English, QLocale::UnitedStates);
}

/// A document with the required fields and `members` (a JSON fragment) after them; a
/// member named again replaces the earlier one.
QByteArray documentWith(const char* members) {
    QByteArray json = R"({"PlanningYear": "2011", "UseOwnPayrollData": 1, "UseOwnServicesData": 0)";
    if (*members) json += ", " + QByteArray(members);
    return json + "}";
}

Store load(const QByteArray& json, const QLocale& defaultLocale = russian()) {
    Result<Store> doc = loadAnswersDocument(json, defaultLocale);
    if (!doc) qWarning("refused: %s", qPrintable(doc.error()));
    return doc ? doc.value() : Store(QLocale::c());
}

}  // namespace

class TestAnswersDocument : public QObject {
    Q_OBJECT
  private slots:
    void refusedDocument_data();
    void refusedDocument();
    void answersAreStoredAsTheWizardStoresThem();
    void payrollDefaultsReplaceThePayrollAnswers();
    void recordsAreStoredAsTheEditorStoresThem();
    void localeOfTheDocumentOrTheDefault();
    void resultDocumentReadsBackExactly();
    void refusedResultDocument();
};

void TestAnswersDocument::refusedDocument_data() {
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<QString>("named");
    QTest::newRow("not JSON") << QByteArray("{\"PlanningYear\": ") << "не документ JSON";
    QTest::newRow("empty input") << QByteArray() << "не документ JSON";
    QTest::newRow("an array") << QByteArray("[]") << "документ JSON не является объектом";
    QTest::newRow("unknown top-level field") << documentWith(R"("Pupils": 5)") << "«Pupils»";
    QTest::newRow("planning year missing")
        << QByteArray(R"({"UseOwnPayrollData": 0, "UseOwnServicesData": 0})") << "PlanningYear";
    QTest::newRow("planning year 2013")
        << documentWith(R"("PlanningYear": "2013")") << "PlanningYear";
    QTest::newRow("planning year as a number")
        << documentWith(R"("PlanningYear": 2011)") << "PlanningYear";
    QTest::newRow("payroll mode missing")
        << QByteArray(R"({"PlanningYear": "2011", "UseOwnServicesData": 0})")
        << "UseOwnPayrollData";
    QTest::newRow("services mode 2")
        << documentWith(R"("UseOwnServicesData": 2)") << "UseOwnServicesData";
    QTest::newRow("services mode true")
        << documentWith(R"("UseOwnServicesData": true)") << "UseOwnServicesData";
    QTest::newRow("locale de") << documentWith(R"("locale": "de")") << "locale";
    QTest::newRow("institution name a number")
        << documentWith(R"("InstitutionName": 5)") << "InstitutionName";
    QTest::newRow("answers an array") << documentWith(R"("answers": [])") << "answers";
    QTest::newRow("unknown answer")
        << documentWith(R"("answers": {"PupilCnt": "5"})") << "answers.PupilCnt";
    QTest::newRow("answer true") << documentWith(R"("answers": {"PupilCount": true})")
                                 << "answers.PupilCount";
    QTest::newRow("answer an object")
        << documentWith(R"("answers": {"GroupCount": {}})") << "answers.GroupCount";
    QTest::newRow("unknown flag") << documentWith(R"("flags": {"Village": 1})") << "flags.Village";
    QTest::newRow("flag 2") << documentWith(R"("flags": {"FiveDayWeek": 2})")
                            << "flags.FiveDayWeek";
    QTest::newRow("flag as text") << documentWith(R"("flags": {"KindOther": "1"})")
                                  << "flags.KindOther";
    QTest::newRow("records an object") << documentWith(R"("records": {})") << "records";
    QTest::newRow("record a number") << documentWith(R"("records": [5])") << "records[0]";
    QTest::newRow("unknown record field")
        << documentWith(R"("records": [{"age": 1}, {"group": 1}])") << "records[1].group";
    QTest::newRow("age 4") << documentWith(R"("records": [{"age": 4}])") << "records[0].age";
    QTest::newRow("stay 0") << documentWith(R"("records": [{"stay": 0}])") << "records[0].stay";
    QTest::newRow("stay 10") << documentWith(R"("records": [{"stay": 10}])") << "records[0].stay";
    QTest::newRow("orientation 7")
        << documentWith(R"("records": [{"orientation": 7}])") << "records[0].orientation";
    QTest::newRow("orientation 1.5")
        << documentWith(R"("records": [{"orientation": 1.5}])") << "records[0].orientation";
    QTest::newRow("age as text") << documentWith(R"("records": [{"age": "1"}])")
                                 << "records[0].age";
    QTest::newRow("pupils true") << documentWith(R"("records": [{"pupils": true}])")
                                 << "records[0].pupils";
    QTest::newRow("pupils beyond any amount")
        << documentWith(R"("records": [{"pupils": 1e300}])") << "records[0].pupils";
    QByteArray many = "\"records\": [{}";
    for (int i = 1; i < 43; ++i) many += ", {}";
    many += "]";
    QTest::newRow("43 records") << documentWith(many.constData()) << "не более 42";
}

void TestAnswersDocument::refusedDocument() {
    QFETCH(QByteArray, json);
    QFETCH(QString, named);
    const Result<Store> doc = loadAnswersDocument(json, russian());
    QVERIFY(!doc);
    QVERIFY2(doc.error().contains(named), qPrintable(doc.error()));
}

void TestAnswersDocument::answersAreStoredAsTheWizardStoresThem() {
    const Store store = load(documentWith(R"("InstitutionName": "Детский сад №5",
        "answers": {"PupilCount": "45", "GroupCount": "три", "MonthsOfOperation": "",
                    "ParentFeePerMonth": "NotEntered", "MinTeacherSalary": 15000.5,
                    "SewageTariff": null, "HeatTariff": "12,5"},
        "flags": {"SettlementIsVillage": 1, "SettlementIsCity": 0, "KindOther": null})"));
    const InstitutionRecord& r = store.record;
    QCOMPARE(r.institutionName, FieldValue::text(QStringLiteral("Детский сад №5")));
    QCOMPARE(r.planningYear, FieldValue::text(QStringLiteral("2011")));
    QCOMPARE(r.useOwnPayrollData, FieldValue::integer(1));
    QCOMPARE(r.useOwnServicesData, FieldValue::integer(0));
    QCOMPARE(r[Answer::PupilCount], FieldValue::text(QStringLiteral("45")));
    QCOMPARE(r[Answer::GroupCount], FieldValue::notEntered());
    QCOMPARE(r[Answer::MonthsOfOperation], FieldValue::notEntered());
    QCOMPARE(r[Answer::ParentFeePerMonth], FieldValue::notEntered());
    QCOMPARE(r[Answer::MinTeacherSalary], FieldValue::number(15000.5));
    QCOMPARE(r[Answer::SewageTariff], FieldValue());
    QCOMPARE(r[Answer::ColdWaterTariff], FieldValue());
    QCOMPARE(r[Answer::HeatTariff].toDouble(store.locale), 12.5);
    QCOMPARE(r[Flag::SettlementIsVillage], FieldValue::integer(1));
    QCOMPARE(r[Flag::SettlementIsCity], FieldValue::integer(0));
    QCOMPARE(r[Flag::KindOther], FieldValue());
    QCOMPARE(r[Flag::FiveDayWeek], FieldValue());
    QCOMPARE(r.wizardStep, Step::kResult);
}

void TestAnswersDocument::payrollDefaultsReplaceThePayrollAnswers() {
    const Store store = load(documentWith(R"("UseOwnPayrollData": 0,
        "answers": {"MinTeacherSalary": "15000", "TeacherPayrollFund": null,
                    "TeacherIncentiveFund": "NotEntered"})"));
    QCOMPARE(store.record[Answer::MinTeacherSalary], FieldValue::single(8700.0f));
    QCOMPARE(store.record[Answer::TeacherPayrollFund], FieldValue::single(8700.0f));
    QCOMPARE(store.record[Answer::TeacherCompensationFund], FieldValue::single(2900.0f));
    QCOMPARE(store.record[Answer::TeacherIncentiveFund], FieldValue::single(0.0f));
}

void TestAnswersDocument::recordsAreStoredAsTheEditorStoresThem() {
    const Store store = load(documentWith(R"("records": [
        {"age": 3, "stay": 7, "orientation": 2, "pupils": "12,5"},
        {"age": 1, "stay": null, "pupils": 25},
        {"pupils": "двадцать"},
        {"age": 2, "stay": 9, "orientation": 6, "pupils": null},
        {"age": 2, "stay": 9, "orientation": 6}])"));
    const DistributionTable& t = store.distribution;
    QCOMPARE(t.recordCount, FieldValue::integer(5));
    const Currency one = Currency::fromWhole(1);
    QCOMPARE(t.cell(1, Kind::AgeClass, 3), one);
    QCOMPARE(t.cell(1, Kind::AgeClass, 1), Currency());
    QCOMPARE(t.cell(1, Kind::StayMode, 7), one);
    QCOMPARE(t.cell(1, Kind::Orientation, 2), one);
    QCOMPARE(t.pupils(1), Currency::fromRaw(125000));
    QVERIFY(t.isComplete(1));
    QCOMPARE(t.cell(2, Kind::AgeClass, 1), one);
    QVERIFY(!t.kindText(2, Kind::StayMode));
    QCOMPARE(t.pupils(2), Currency::fromWhole(25));
    QVERIFY(t.pupilsNotEntered(3));
    QCOMPARE(t.pupils(4), Currency());
    QCOMPARE(t.pupils(5), Currency());
    QVERIFY(t.isComplete(5));

    const Store none = load(documentWith(R"("records": [])"));
    QCOMPARE(none.distribution.recordCount, FieldValue::integer(0));
    QCOMPARE(none.distribution.usedRecords(), 0);
}

void TestAnswersDocument::localeOfTheDocumentOrTheDefault() {
    const QByteArray commas = documentWith(R"("answers": {"PupilCount": "12,5"})");
    QCOMPARE(load(commas, russian()).record[Answer::PupilCount].toDouble(russian()), 12.5);
    // In English "12,5" is not a number a user types: the answer is not entered.
    QCOMPARE(load(commas, english()).record[Answer::PupilCount], FieldValue::notEntered());

    const Store named =
        load(documentWith(R"("locale": "en", "answers": {"PupilCount": "12.5"})"), russian());
    QCOMPARE(named.locale.decimalPoint(), QStringLiteral("."));
    QCOMPARE(named.record[Answer::PupilCount], FieldValue::text(QStringLiteral("12.5")));
    QCOMPARE(load(documentWith(R"("locale": "ru")"), english()).locale.decimalPoint(),
             QStringLiteral(","));
}

void TestAnswersDocument::resultDocumentReadsBackExactly() {
    Store store = load(documentWith(R"("locale": "ru", "UseOwnPayrollData": 0,
        "answers": {"PupilCount": "45", "GroupCount": "3", "MonthsOfOperation": "12",
                    "ParentFeePerMonth": "1500,5"},
        "flags": {"SettlementIsCity": 1, "KindPreschoolSenior": 1, "FiveDayWeek": 1},
        "records": [{"age": 2, "stay": 5, "orientation": 1, "pupils": "12,5"},
                    {"age": 3, "stay": 7, "orientation": 2, "pupils": 20},
                    {"age": 1, "stay": 9, "orientation": 6, "pupils": "12,5"}])"));
    const ResultTexts result = runNormativeCalculation(store);
    QCOMPARE(resultExitStatus(result), 0);
    const QJsonObject out = QJsonDocument::fromJson(resultDocument(result, store)).object();

    const double education = store.record.educationNorm.toDouble(store.locale);
    const double maintenance = store.record.maintenanceNorm.toDouble(store.locale);
    QVERIFY(out["education"]["norm"].toDouble() == education);
    QVERIFY(out["maintenance"]["norm"].toDouble() == maintenance);
    QCOMPARE(out["education"]["refused"], QJsonValue(false));
    QCOMPARE(out["buttons"], QJsonValue(true));
    for (int n = 1; n <= 6; ++n) {
        QCOMPARE(out["results"][QStringLiteral("Text%1").arg(n)].toString(), *result.text(n));
    }
    const DerivedAmounts derived = derivedAmounts(store);
    QVERIFY(out["derived"]["TotalNorm"].toDouble() == derived.totalNorm);
    QVERIFY(out["derived"]["EducationSubsidy"].toDouble() == derived.educationSubsidy);
    QVERIFY(out["derived"]["MaintenanceSubsidy"].toDouble() == derived.maintenanceSubsidy);
    QVERIFY(out["derived"]["TotalSubsidy"].toDouble() == derived.totalSubsidy);
}

void TestAnswersDocument::refusedResultDocument() {
    // Education computes, maintenance refuses a fractional group count.
    Store store = load(documentWith(R"("locale": "en", "UseOwnPayrollData": 0,
        "answers": {"PupilCount": "20", "GroupCount": "2.5", "MonthsOfOperation": "12"},
        "flags": {"SettlementIsCity": 1, "KindOther": 1, "FiveDayWeek": 1},
        "records": [{"age": 3, "stay": 7, "orientation": 1, "pupils": "20"}])"));
    store.record.maintenanceNorm = FieldValue::number(5);  // from an earlier run
    const ResultTexts result = runNormativeCalculation(store);
    QCOMPARE(resultExitStatus(result), 1);
    const QJsonObject out = QJsonDocument::fromJson(resultDocument(result, store)).object();
    QCOMPARE(out["education"]["refused"], QJsonValue(false));
    QVERIFY(out["education"]["norm"].isDouble());
    QCOMPARE(out["maintenance"]["refused"], QJsonValue(true));
    QVERIFY(out["maintenance"]["norm"].isNull());
    QCOMPARE(out["results"]["Text2"].toString(), calcTexts().invalidInput);
    QCOMPARE(out["results"]["Text1"].toString(), *result.text(1));
    QCOMPARE(out["buttons"], QJsonValue(false));
    QVERIFY(out["derived"].isNull());

    // A maintenance stage that does not run leaves its boxes: null in the document.
    store.record.useOwnServicesData = FieldValue::integer(3);
    const ResultTexts notRun = runNormativeCalculation(store);
    const QJsonObject notRunOut = QJsonDocument::fromJson(resultDocument(notRun, store)).object();
    QVERIFY(notRunOut["results"]["Text2"].isNull());
    QCOMPARE(notRunOut["maintenance"]["refused"], QJsonValue(false));
    QVERIFY(notRunOut["maintenance"]["norm"].isNull());
    QCOMPARE(resultExitStatus(notRun), 1);
}

QTEST_GUILESS_MAIN(TestAnswersDocument)
#include "test_answersdocument.moc"
