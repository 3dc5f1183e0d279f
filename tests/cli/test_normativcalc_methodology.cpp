// normativ-calc computing by a methodology workbook (--methodology) and writing the one in
// use (--write-methodology).

#include "calcprocess.h"
#include "methodology.h"
#include "methodologyfingerprint.h"
#include "methodologyworkbook.h"
#include "savexlsx.h"

#include <QDir>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QtTest>

using namespace calctest;
using namespace normativ;

namespace {

/// 45 pupils in three groups, typed in Russian; one record of orientation 6, whose
/// education weight the tests change.
QByteArray document(const char* year = "2011") {
    return QByteArray(R"({"locale": "ru", "PlanningYear": ")") + year + R"(",
        "UseOwnPayrollData": 0, "UseOwnServicesData": 0,
        "answers": {"PupilCount": "45", "GroupCount": "3", "MonthsOfOperation": "12",
                    "ParentFeePerMonth": "1500,5"},
        "flags": {"SettlementIsCity": 1, "KindPreschoolSenior": 1, "FiveDayWeek": 1},
        "records": [{"age": 2, "stay": 5, "orientation": 1, "pupils": "12,5"},
                    {"age": 3, "stay": 7, "orientation": 2, "pupils": 20},
                    {"age": 1, "stay": 9, "orientation": 6, "pupils": "12,5"}]})";
}

QStringList results(const QJsonObject& out) {
    QStringList texts;
    for (int n = 1; n <= 6; ++n) {
        texts << out[QStringLiteral("results")][QStringLiteral("Text%1").arg(n)].toString();
    }
    return texts;
}

}  // namespace

class TestNormativCalcMethodology : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { QVERIFY(dir_.isValid()); }

    // The figures come from tests/calc/derive_expected.py's first case with the sixth
    // orientation weight of the education load set to 8.5 (the example's is 7.154225).
    void computesByTheGivenMethodology() {
        Methodology m = *Methodology::example();
        m.name = QStringLiteral("Методика района");
        m.educationLoad.orientation[5] = 8.5f;
        const QString path = writeMethodology(m, QStringLiteral("район.xlsx"));
        const QString answers = writeFile(dir_, QStringLiteral("ответы.json"), document());

        const Run example = run({answers});
        QCOMPARE(example.status, 0);
        const QJsonObject before = QJsonDocument::fromJson(example.out).object();
        QCOMPARE(results(before),
                 (QStringList{"184122", "217543", "401665", "8285484", "9789435", "18074919"}));
        QCOMPARE(before["methodology"]["name"].toString(), QStringLiteral("пример (встроенная)"));

        const Run changed = run({QStringLiteral("--methodology"), path, answers});
        QCOMPARE(changed.status, 0);
        const QJsonObject after = QJsonDocument::fromJson(changed.out).object();
        QCOMPARE(results(after),
                 (QStringList{"212699", "217543", "430242", "9571440", "9789435", "19360875"}));
        QCOMPARE(after["education"]["norm"].toDouble(), 212698.6651471466);
        QCOMPARE(after["methodology"]["name"].toString(), m.name);
        QCOMPARE(after["methodology"]["fingerprint"].toString(), methodologyFingerprint(m));
        QVERIFY(after["methodology"]["fingerprint"] != before["methodology"]["fingerprint"]);
    }

    // A planning year the methodology adds is offered and used; the example refuses it.
    void aNewPlanningYear() {
        Methodology m = *Methodology::example();
        m.planningYears.push_back({2013, double(1.4f), true});
        const QString path = writeMethodology(m, QStringLiteral("2013.xlsx"));
        const QString answers = writeFile(dir_, QStringLiteral("2013.json"), document("2013"));
        QCOMPARE(run({answers}).status, 2);
        const Run r = run({QStringLiteral("--methodology"), path, answers});
        QCOMPARE(r.status, 0);
        // 184121.85981568324 computed with 1.4 instead of 1.342 as the year's index.
        QCOMPARE(QJsonDocument::fromJson(r.out)["results"]["Text1"].toString(),
                 QStringLiteral("192079"));
    }

    // --write-methodology writes the methodology in use, which reads back the same.
    void writesTheMethodologyInUse() {
        Methodology m = *Methodology::example();
        m.name = QStringLiteral("Методика района");
        m.longYearCoefficient = 1.1;
        const QString given = writeMethodology(m, QStringLiteral("given.xlsx"));
        const QString written = dir_.filePath(QStringLiteral("written.xlsx"));
        const Run r = run({QStringLiteral("--methodology"), given,
                           QStringLiteral("--write-methodology"), written});
        QCOMPARE(r.status, 0);
        QVERIFY(r.out.isEmpty());
        const Result<Methodology> read = readMethodologyFile(written);
        QVERIFY2(read.ok(), qPrintable(read.error()));
        QVERIFY(*read == m);

        const QString example = dir_.filePath(QStringLiteral("example.xlsx"));
        QCOMPARE(run({QStringLiteral("--write-methodology=") + example}).status, 0);
        const Result<Methodology> sample = readMethodologyFile(example);
        QVERIFY(sample.ok() && *sample == *Methodology::example());
    }

    // A methodology that can't be used stops the run before any input: status 2, nothing
    // on standard output, the file and the reason on standard error.
    void refusedMethodology() {
        const QString answers = writeFile(dir_, QStringLiteral("r.json"), document());
        const QString notAWorkbook =
            writeFile(dir_, QStringLiteral("методика.xlsx"), QByteArray("не книга"));
        Run r = run({QStringLiteral("--methodology"), notAWorkbook, answers});
        QCOMPARE(r.status, 2);
        QVERIFY(r.out.isEmpty());
        QVERIFY2(QString::fromUtf8(r.err).startsWith(
                     QStringLiteral("normativ-calc: %1: ").arg(notAWorkbook)),
                 r.err.constData());

        Methodology bad = *Methodology::example();
        bad.villageCoefficient = -1.0f;  // written as it is; the reader refuses it
        const QString negative = writeMethodology(bad, QStringLiteral("negative.xlsx"));
        r = run({QStringLiteral("--methodology"), negative, answers});
        QCOMPARE(r.status, 2);
        QVERIFY(r.out.isEmpty());
        QVERIFY2(QString::fromUtf8(r.err).contains(QStringLiteral("лист «Коэффициенты»")),
                 r.err.constData());

        r = run({QStringLiteral("--methodology"), answers});
        QCOMPARE(r.status, 2);  // no file after the option
    }

    // A methodology deployed in the configuration folder is the default; one that can't
    // be used stops the run instead of the example taking its place.
    void deployedMethodology() {
        Methodology m = *Methodology::example();
        m.name = QStringLiteral("Методика области");
        const QString folder = dir_.filePath(QStringLiteral("config/normativ"));
        QVERIFY(QDir().mkpath(folder));
        const QString deployed = folder + QStringLiteral("/methodology.xlsx");
        QVERIFY(saveWorkbook(buildMethodologyWorkbook(m), deployed).ok());
        const QString answers = writeFile(dir_, QStringLiteral("d.json"), document());
        Run r = run({answers});
        QCOMPARE(r.status, 0);
        QCOMPARE(QJsonDocument::fromJson(r.out)["methodology"]["name"].toString(), m.name);

        QVERIFY(QFile::remove(deployed));
        QVERIFY(!writeFile(dir_, QStringLiteral("config/normativ/methodology.xlsx"), "не книга")
                     .isEmpty());
        r = run({answers});
        QCOMPARE(r.status, 2);
        QVERIFY(r.out.isEmpty());
        QVERIFY2(QString::fromUtf8(r.err).contains(deployed), r.err.constData());
        // Given on the command line, another methodology is used all the same.
        const QString example = writeMethodology(*Methodology::example(), "e.xlsx");
        QCOMPARE(run({QStringLiteral("--methodology"), example, answers}).status, 0);
        QVERIFY(QFile::remove(deployed));
    }

  private:
    Run run(const QStringList& args) {
        QProcessEnvironment env = localeEnvironment(QStringLiteral("C.UTF-8"));
        // No deployed methodology of this machine's user may take part.
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), dir_.filePath(QStringLiteral("config")));
        env.insert(QStringLiteral("XDG_CONFIG_DIRS"), dir_.filePath(QStringLiteral("etc")));
        return runCalc(args, env);
    }

    QString writeMethodology(const Methodology& m, const QString& name) {
        const QString path = dir_.filePath(name);
        const Status saved = saveWorkbook(buildMethodologyWorkbook(m), path);
        if (!saved) qFatal("%s", qPrintable(saved.error()));
        return path;
    }

    QTemporaryDir dir_;
};

QTEST_GUILESS_MAIN(TestNormativCalcMethodology)
#include "test_normativcalc_methodology.moc"
