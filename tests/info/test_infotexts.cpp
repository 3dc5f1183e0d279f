#include "guitest.h"
#include "infotexts.h"
#include "paragraphlabel.h"

#include <QApplication>
#include <QtTest>

using namespace normativ;

class TestInfoTexts : public QObject {
    Q_OBJECT
  private slots:
    void paragraphsJoinedByBlankRuns_data();
    void paragraphsJoinedByBlankRuns();
};

void TestInfoTexts::paragraphsJoinedByBlankRuns_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QList<int>>("runs");
    QTest::newRow("payroll information") << info::infoTexts().payrollInfoText << QList<int>{84, 91};
    QTest::newRow("services information")
        << info::infoTexts().servicesInfoText << QList<int>{125, 96, 103};
}

void TestInfoTexts::paragraphsJoinedByBlankRuns() {
    QFETCH(QString, text);
    QFETCH(QList<int>, runs);
    QList<int> found;
    static const QRegularExpression longRun(QStringLiteral(" {5,}"));
    for (auto it = longRun.globalMatch(text); it.hasNext();)
        found << int(it.next().capturedLength());
    QCOMPARE(found, runs);
    QVERIFY(!text.endsWith(QLatin1Char(' ')));
    // On the screen every paragraph starts on a line of its own; the short run of four
    // blanks inside the payroll text stays as it is.
    ParagraphLabel label(text);
    QCOMPARE(label.text(), text);
    QCOMPARE(label.displayText().count(QStringLiteral("\n\n")), runs.size());
}

QTEST_MAIN(TestInfoTexts)
#include "test_infotexts.moc"
