// Runs the built normativ-calc on answers documents and checks what it prints and returns.

#include "calcprocess.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QtTest>

using namespace calctest;

namespace {

/// The standard-way record of 45 pupils in three groups; `decimal` is the separator its
/// typed fractions use.
QByteArray standardDocument(const char* localeMember, char decimal) {
    QByteArray json = R"({)" + QByteArray(localeMember) + R"( "PlanningYear": "2011",
        "InstitutionName": "Детский сад №5", "UseOwnPayrollData": 0, "UseOwnServicesData": 0,
        "answers": {"PupilCount": "45", "GroupCount": "3", "MonthsOfOperation": "12",
                    "ParentFeePerMonth": "1500#5"},
        "flags": {"SettlementIsVillage": 0, "SettlementIsCity": 1, "KindPreschoolSenior": 1,
                  "KindDevelopmentCentre": 0, "KindOther": 0, "FiveDayWeek": 1, "SixDayWeek": 0},
        "records": [{"age": 2, "stay": 5, "orientation": 1, "pupils": "12#5"},
                    {"age": 3, "stay": 7, "orientation": 2, "pupils": 20},
                    {"age": 1, "stay": 9, "orientation": 6, "pupils": "12#5"}]})";
    return json.replace('#', decimal);
}

}  // namespace

class TestNormativCalc : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase();
    void computesBothNormatives_data();
    void computesBothNormatives();
    void refusedStagesExitWithOne();
    void unusableInput_data();
    void unusableInput();
    void wrongFiles_data();
    void wrongFiles();
    void usage();

  private:
    Run run(const QStringList& args, const QString& lcAll = QStringLiteral("C.UTF-8"));
    QString write(const QString& name, const QByteArray& contents);
    QTemporaryDir dir_;
};

void TestNormativCalc::initTestCase() {
    QVERIFY(dir_.isValid());
    QVERIFY2(QFileInfo(kProgram).isExecutable(), qPrintable(kProgram));
}

Run TestNormativCalc::run(const QStringList& args, const QString& lcAll) {
    return runCalc(args, localeEnvironment(lcAll));
}

QString TestNormativCalc::write(const QString& name, const QByteArray& contents) {
    return writeFile(dir_, name, contents);
}

void TestNormativCalc::computesBothNormatives_data() {
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<QString>("environmentLocale");
    QTest::newRow("Russian document") << standardDocument(R"("locale": "ru",)", ',') << "C.UTF-8";
    QTest::newRow("English document") << standardDocument(R"("locale": "en",)", '.') << "C.UTF-8";
    QTest::newRow("the user's Russian locale") << standardDocument("", ',') << "ru_RU.UTF-8";
    QTest::newRow("the user's English locale") << standardDocument("", '.') << "en_US.UTF-8";
}

void TestNormativCalc::computesBothNormatives() {
    QFETCH(QByteArray, json);
    QFETCH(QString, environmentLocale);
    const Run r = run({write(QStringLiteral("answers.json"), json)}, environmentLocale);
    QCOMPARE(r.status, 0);
    const QJsonObject out = QJsonDocument::fromJson(r.out).object();
    // The figures derived by hand for this record (see tests/calc).
    QVERIFY(out["education"]["norm"].toDouble() == 184121.85981568324);
    QVERIFY(out["maintenance"]["norm"].toDouble() == 217542.62151211553);
    QVERIFY(out["derived"]["TotalSubsidy"].toDouble() == 18074901.659750946);
    const QStringList expected{"184122", "217543", "401665", "8285484", "9789435", "18074919"};
    for (int n = 1; n <= 6; ++n) {
        QCOMPARE(out["results"][QStringLiteral("Text%1").arg(n)].toString(), expected[n - 1]);
    }
    QCOMPARE(out["buttons"], QJsonValue(true));
    // The estimates the program would show: 25 rows of 5 texts and Text121..Text134.
    const QJsonArray payroll = out["payroll"].toArray();
    QCOMPARE(payroll.size(), 25);
    for (const QJsonValue& row : payroll) QCOMPARE(row.toArray().size(), 5);
    const QJsonObject services = out["services"].toObject();
    QCOMPARE(services.size(), 14);
    QVERIFY(services.contains("Text121") && services.contains("Text134"));
    QVERIFY(!payroll[24].toArray()[4].toString().isEmpty());
}

void TestNormativCalc::refusedStagesExitWithOne() {
    const QByteArray json = standardDocument(R"("locale": "ru",)", ',')
                                .replace(R"("PupilCount": "45")", R"("PupilCount": "NotEntered")");
    const Run r = run({write(QStringLiteral("refused.json"), json)});
    QCOMPARE(r.status, 1);
    const QJsonObject out = QJsonDocument::fromJson(r.out).object();
    QCOMPARE(out["education"]["refused"], QJsonValue(true));
    QVERIFY(out["education"]["norm"].isNull());
    QCOMPARE(out["maintenance"]["refused"], QJsonValue(true));
    QCOMPARE(out["results"]["Text1"].toString(), QStringLiteral("неверный ввод"));
    QCOMPARE(out["results"]["Text6"].toString(), QStringLiteral("неверный ввод"));
    QCOMPARE(out["buttons"], QJsonValue(false));
    QVERIFY(out["derived"].isNull());
    QVERIFY(out["payroll"].isNull());
    QVERIFY(out["services"].isNull());
}

void TestNormativCalc::unusableInput_data() {
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<QString>("named");
    QTest::newRow("unknown field") << standardDocument(R"("Locale": "ru",)", ',') << "«Locale»";
    QTest::newRow("wrong type") << standardDocument("", ',').replace(R"("pupils": 20)",
                                                                     R"("pupils": [20])")
                                << "records[1].pupils";
    QTest::newRow("item out of range")
        << standardDocument("", ',').replace(R"("age": 3)", R"("age": 0)") << "records[1].age";
    QByteArray many =
        R"({"PlanningYear": "2011", "UseOwnPayrollData": 0, "UseOwnServicesData": 0, "records": [{})";
    for (int i = 1; i < 43; ++i) many += ",{}";
    QTest::newRow("43 records") << many + "]}"
                                << "не более 42";
}

void TestNormativCalc::unusableInput() {
    QFETCH(QByteArray, json);
    QFETCH(QString, named);
    const Run r = run({write(QStringLiteral("bad.json"), json)});
    QCOMPARE(r.status, 2);
    QVERIFY(r.out.isEmpty());
    QVERIFY2(QString::fromUtf8(r.err).contains(named), r.err.constData());
    QVERIFY(r.err.contains("bad.json"));
}

void TestNormativCalc::wrongFiles_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<QString>("reason");  // its beginning
    const QString notAWorkbook =
        QStringLiteral("файл не является книгой электронных таблиц (.xlsx или .xls)");
    QTest::newRow("an empty .xlsx") << "empty.xlsx" << QByteArray() << "файл пуст)";
    QTest::newRow("a text file renamed")
        << "отчет.xlsx" << QByteArray("Отчет за 2011 год\n") << notAWorkbook + ")";
    QTest::newRow("an HTML page saved as .xls")
        << "form.xls" << QByteArray("<html><body><table><tr><td>1</td></tr></table></body></html>")
        << notAWorkbook + ")";
    QTest::newRow("an answers document named as a workbook")
        << "answers.xlsx" << standardDocument("", ',') << notAWorkbook + ")";
    QTest::newRow("a text file without an ending")
        << "notes" << QByteArray("PupilCount=45") << notAWorkbook + ")";
    QTest::newRow("a damaged .xls")
        << "damaged.xls"
        << QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) + QByteArray(504, '\0') << "файл .xls";
}

// A file that is neither an answers document nor a workbook is refused with the loading
// window's message and its reason, alone exactly as in a batch.
void TestNormativCalc::wrongFiles() {
    QFETCH(QString, name);
    QFETCH(QByteArray, contents);
    QFETCH(QString, reason);
    QTemporaryDir dir;  // the folder of the usage test holds no workbooks
    const QString path = writeFile(dir, name, contents);
    const Run alone = run({path});
    QCOMPARE(alone.status, 2);
    QVERIFY(alone.out.isEmpty());
    const QString prefix = QStringLiteral("normativ-calc: %1: ").arg(path);
    const QString err = QString::fromUtf8(alone.err);
    QVERIFY2(err.startsWith(prefix) && err.endsWith(QLatin1Char('\n')), alone.err.constData());
    const QString error = err.mid(prefix.size()).chopped(1);
    const QString wrongFile = QStringLiteral(
        "Указанный Вами файл не является требуемой формой статистической отчетности (");
    QVERIFY2(error.startsWith(wrongFile + reason), qPrintable(error));

    const Run batch = run({path, path});
    QCOMPARE(batch.status, 1);
    QCOMPARE(batch.items().size(), 2);
    for (const QJsonValue item : batch.items()) {
        QCOMPARE(item[QStringLiteral("file")].toString(), path);
        QCOMPARE(item[QStringLiteral("error")].toString(), error);
    }
}

void TestNormativCalc::usage() {
    Run r = run({});
    QCOMPARE(r.status, 2);
    QVERIFY(r.out.isEmpty());
    QVERIFY(QString::fromUtf8(r.err).contains(QStringLiteral("использование")));

    // Several inputs are a batch, not bad usage: each missing file is an item's error.
    r = run({QStringLiteral("a.json"), QStringLiteral("b.json")});
    QCOMPARE(r.status, 1);
    QCOMPARE(QJsonDocument::fromJson(r.out).array().size(), 2);

    r = run({dir_.filePath(QStringLiteral("missing.json"))});
    QCOMPARE(r.status, 2);
    QVERIFY(r.out.isEmpty());
    QVERIFY(r.err.contains("missing.json"));

    // A folder is a batch of its workbooks: here there are none.
    r = run({dir_.path()});
    QCOMPARE(r.status, 0);
    QVERIFY(QJsonDocument::fromJson(r.out).isArray());
    QVERIFY(QJsonDocument::fromJson(r.out).array().isEmpty());

    r = run({QStringLiteral("--help")});
    QCOMPARE(r.status, 0);
    QVERIFY(QString::fromUtf8(r.out).contains(QStringLiteral("использование")));
}

QTEST_GUILESS_MAIN(TestNormativCalc)
#include "test_normativcalc.moc"
