#include "calctesthelpers.h"
#include "inputcheck.h"

#include <QtTest>
#include <functional>

using namespace normativ;
using namespace calctest;

namespace {

QString joined(const std::vector<InputProblem>& problems) {
    QStringList texts;
    for (const InputProblem& p : problems) texts << p.text();
    return texts.join(QStringLiteral(", "));
}

}  // namespace

/// The reasons a refusal names, one per answer, in answer order.
class TestInputCheck : public QObject {
    Q_OBJECT
  private slots:
    void problems_data();
    void problems();
    void everyAnswerHasAName();
};

using Change = std::function<void(Store&)>;
Q_DECLARE_METATYPE(Change)

void TestInputCheck::problems_data() {
    QTest::addColumn<bool>("ownData");
    QTest::addColumn<Change>("change");
    QTest::addColumn<QString>("education");
    QTest::addColumn<QString>("maintenance");
    auto answer = [](Answer a, const char* text) {
        return Change([a, text](Store& s) { setAnswers(s, {{a, text}}); });
    };
    QTest::newRow("usable") << false << Change([](Store&) {}) << ""
                            << "";
    QTest::newRow("groups not entered")
        << false << answer(Answer::GroupCount, "") << "количество групп — не введено"
        << "количество групп — не введено";
    QTest::newRow("payroll fund 0") << true << answer(Answer::TeacherPayrollFund, "0")
                                    << "фонд оплаты труда педагогических работников — 0"
                                    << "фонд оплаты труда педагогических работников — 0";
    QTest::newRow("several, in answer order")
        << false << Change([](Store& s) {
               s.record[Answer::PupilCount] = FieldValue();
               s.record[Flag::SettlementIsVillage] = FieldValue();
               s.record[Flag::SettlementIsCity] = FieldValue();
               setAnswers(s, {{Answer::MonthsOfOperation, "x"}});
           })
        << "количество воспитанников — не введено, тип населенного пункта — не выбран, "
           "количество месяцев работы — не введено"
        << "количество воспитанников — не введено, тип населенного пункта — не выбран, "
           "количество месяцев работы — не введено";
    QTest::newRow("fractional groups: maintenance only")
        << false << answer(Answer::GroupCount, "2,5") << ""
        << "количество групп — не целое число от 1";
    QTest::newRow("own data: a tariff not entered") << true << answer(Answer::HeatTariff, "") << ""
                                                    << "тариф на тепловую энергию — не введено";
    QTest::newRow("standard way: a tariff not entered is not used")
        << false << answer(Answer::HeatTariff, "") << ""
        << "";
    QTest::newRow("a record without pupils")
        << false
        << Change([](Store& s) { s.distribution.storePupilText(2, QStringLiteral("?"), s.locale); })
        << "количество воспитанников в записи 2 — не введено"
        << "количество воспитанников в записи 2 — не введено";
}

void TestInputCheck::problems() {
    QFETCH(bool, ownData);
    QFETCH(Change, change);
    QFETCH(QString, education);
    QFETCH(QString, maintenance);
    Store store(russian());
    if (ownData)
        fillOwnDataRecord(store);
    else
        fillStandardRecord(store);
    change(store);
    QCOMPARE(joined(educationInputProblems(store)), education);
    QCOMPARE(joined(maintenanceInputProblems(store)), maintenance);
}

void TestInputCheck::everyAnswerHasAName() {
    QSet<QString> names;
    for (const AnswerDescriptor& info : answerTable()) names.insert(answerShortName(info.answer));
    QCOMPARE(names.size(), kAnswerCount);
    QVERIFY(!names.contains(QString()));
}

QTEST_GUILESS_MAIN(TestInputCheck)
#include "test_inputcheck.moc"
