#include "workbookloader.h"

#include <sys/resource.h>
#include <QDir>
#include <QFile>
#include <QtTest>

using namespace normativ;

/// Every file under fixtures/hostile (crafted files and the inputs fuzzing found) is
/// refused with the wrong-file message, within 256 MiB, and leaves the record as it was.
class TestHostileFiles : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase();
    void refused_data();
    void refused();
};

void TestHostileFiles::initTestCase() {
#if !defined(__SANITIZE_ADDRESS__)
    const rlimit limit{256ull << 20, 256ull << 20};
    QCOMPARE(::setrlimit(RLIMIT_AS, &limit), 0);
#endif
}

void TestHostileFiles::refused_data() {
    QTest::addColumn<QString>("path");
    const QDir dir(QStringLiteral(NORMATIV_HOSTILE_FIXTURES));
    const QStringList files = dir.entryList(QDir::Files, QDir::Name);
    QVERIFY(!files.isEmpty());
    for (const QString& name : files)
        QTest::newRow(name.toUtf8().constData()) << dir.filePath(name);
}

void TestHostileFiles::refused() {
    QFETCH(QString, path);
    Store store(QLocale(QLocale::Russian, QLocale::Russia));
    store.record.institutionName = FieldValue::text(QStringLiteral("ДОУ №1"));
    store.record[Answer::PupilCount] = FieldValue::text(QStringLiteral("120"));
    store.distribution.recordCount = FieldValue::integer(2);
    store.distribution.storePupilText(1, QStringLiteral("70"), store.locale);
    const Store before = store;

    const WorkbookLoadResult result = loadWorkbookFileIntoStore(path, store);
    QVERIFY(!result.ok);
    QCOMPARE(result.message, loaderTexts().wrongFile);
    QCOMPARE(store.record.institutionName, before.record.institutionName);
    QCOMPARE(store.record[Answer::PupilCount], before.record[Answer::PupilCount]);
    QCOMPARE(store.record.wizardStep, before.record.wizardStep);
    QCOMPARE(store.distribution.recordCount, before.distribution.recordCount);
    for (int r = 1; r <= kMaxDistributionRecords; ++r)
        QCOMPARE(store.distribution.pupils(r), before.distribution.pupils(r));
}

QTEST_GUILESS_MAIN(TestHostileFiles)
#include "test_hostilefiles.moc"
