#include "estimatefixtures.h"
#include "numbers.h"
#include "payrollestimate.h"

#include <QtTest>
#include <functional>

using namespace normativ;
using namespace normativ::fixtures;

namespace {

using Grid = std::array<std::array<const char*, 5>, 25>;

// Figures derived independently by derive_expected.py from the fixtures' answers.
// standard: item load 1.22188, cost index None
const Grid kStandardGrid{{
    {"0,135", "12,865", "16652", "34194", "3248433"},
    {"0,016", "1,494", "15503", "3700", "351483"},
    {"0,006", "0,525", "15503", "1300", "123476"},
    {"0,000", "0,000", "0", "0", "0"},
    {"0,000", "0,000", "0", "0", "0"},
    {"0,000", "0,000", "0", "0", "0"},
    {"0,000", "0,000", "0", "0", "0"},
    {"0,000", "0,000", "0", "0", "0"},
    {"0,000", "0,000", "0", "0", "0"},
    {"0,018", "1,674", "16652", "4450", "422790"},
    {"0,000", "0,000", "0", "0", "0"},
    {"0,019", "1,800", "17944", "5153", "489535"},
    {"0,193", "18,335", "16681", "48797", "4635715"},
    {"0,113", "10,773", "11978", "20464", "1944073"},
    {"0,011", "1,000", "44916", "7614", "723327"},
    {"0,011", "1,000", "35934", "6091", "578681"},
    {"0,000", "0,000", "31442", "0", "0"},
    {"0,011", "1,000", "14972", "2538", "241101"},
    {"0,005", "0,500", "35934", "3046", "289341"},
    {"0,005", "0,500", "22458", "1903", "180832"},
    {"0,005", "0,500", "11978", "1015", "96443"},
    {"0,003", "0,250", "11978", "508", "48221"},
    {"0,050", "4,750", "28210", "22715", "2157925"},
    {"0,069", "6,552", "11978", "13304", "1263865"},
    {"0,425", "40,41", "15382", "105280", "10001600"},
}};

// own: item load None, cost index 0.009110169491525424
const Grid kOwnFiguresGrid{{
    {"0,362", "42,755", "10226", "53043", "6259079"},
    {"0,022", "2,637", "9520", "3049", "359731"},
    {"0,007", "0,803", "9520", "928", "109532"},
    {"0,000", "0,000", "0", "0", "0"},
    {"0,000", "0,000", "0", "0", "0"},
    {"0,000", "0,000", "0", "0", "0"},
    {"0,000", "0,000", "0", "0", "0"},
    {"0,000", "0,000", "0", "0", "0"},
    {"0,000", "0,000", "0", "0", "0"},
    {"0,039", "4,654", "10226", "5774", "681308"},
    {"0,000", "0,000", "0", "0", "0"},
    {"0,124", "14,656", "11019", "19578", "2310249"},
    {"0,555", "65,490", "10375", "82372", "9719896"},
    {"0,286", "33,689", "6991", "28277", "3336708"},
    {"0,008", "1,000", "26215", "3364", "396995"},
    {"0,025", "3,000", "20972", "8074", "952789"},
    {"0,008", "1,000", "18350", "2355", "277897"},
    {"0,008", "1,000", "8738", "1121", "132332"},
    {"0,008", "1,000", "20972", "2691", "317596"},
    {"0,008", "1,000", "13107", "1682", "198498"},
    {"0,008", "1,000", "6991", "897", "105865"},
    {"0,008", "1,000", "6991", "897", "105865"},
    {"0,085", "10,030", "16377", "21081", "2487558"},
    {"0,108", "12,693", "6991", "11388", "1343751"},
    {"1,033", "121,90", "9149", "143118", "16887924"},
}};

// english: item load 1.1559727272727272, cost index None
const Grid kEnglishGrid{{
    {"0.252", "11.070", "8460", "32475", "1428896"},
    {"0.030", "1.302", "7877", "3559", "156617"},
    {"0.007", "0.315", "7877", "861", "37892"},
    {"0.000", "0.000", "0", "0", "0"},
    {"0.000", "0.000", "0", "0", "0"},
    {"0.000", "0.000", "0", "0", "0"},
    {"0.000", "0.000", "0", "0", "0"},
    {"0.000", "0.000", "0", "0", "0"},
    {"0.000", "0.000", "0", "0", "0"},
    {"0.030", "1.302", "8460", "3820", "168063"},
    {"0.000", "0.000", "0", "0", "0"},
    {"0.061", "2.688", "9117", "8490", "373551"},
    {"0.379", "16.676", "8517", "49205", "2165020"},
    {"0.187", "8.219", "7230", "20347", "895284"},
    {"0.023", "1.000", "27111", "9923", "436603"},
    {"0.000", "0.000", "21689", "0", "0"},
    {"0.000", "0.000", "18978", "0", "0"},
    {"0.011", "0.500", "9037", "1654", "72767"},
    {"0.006", "0.250", "21689", "1985", "87321"},
    {"0.006", "0.250", "13556", "1240", "54575"},
    {"0.011", "0.500", "7230", "1323", "58214"},
    {"0.006", "0.250", "7230", "662", "29107"},
    {"0.063", "2.772", "16546", "16787", "738628"},
    {"0.108", "4.757", "7230", "12586", "553795"},
    {"0.737", "32.42", "8335", "98925", "4352700"},
}};

const Grid* gridOf(const QString& name) {
    if (name == "standard") return &kStandardGrid;
    if (name == "own") return &kOwnFiguresGrid;
    return &kEnglishGrid;
}

Store storeOf(const QString& name) {
    if (name == "standard") return standardStore();
    if (name == "own") return ownFiguresStore();
    return englishStore();
}

/// Changes made to the plain-group fixture for one case.
using Change = std::function<void(Store&)>;

void answer(Store& store, Answer a, const char* typed) {
    store.record.storeAnswer(a, QString::fromUtf8(typed), store.locale);
}

}  // namespace

Q_DECLARE_METATYPE(Change)

class TestPayrollEstimate : public QObject {
    Q_OBJECT
  private slots:
    void fullEstimate_data();
    void fullEstimate();
    void statedFigures_data();
    void statedFigures();
    void groupCountAboveThirtyStaffsAsThirty_data();
    void groupCountAboveThirtyStaffsAsThirty();
    void zeroDivisorsShowZero_data();
    void zeroDivisorsShowZero();
    void boxOrderForTheWorkbook();
    void lastPassWeightsAreKept();
};

void TestPayrollEstimate::fullEstimate_data() {
    QTest::addColumn<QString>("fixture");
    QTest::newRow("standard figures, payroll defaults, Russian") << "standard";
    QTest::newRow("own payroll and services figures, village, Russian") << "own";
    QTest::newRow("own payroll, standard services, English") << "english";
}

void TestPayrollEstimate::fullEstimate() {
    QFETCH(QString, fixture);
    const PayrollEstimate estimate = computePayrollEstimate(storeOf(fixture));
    const Grid& expected = *gridOf(fixture);
    for (int r = 1; r <= 25; ++r) {
        for (int c = 1; c <= 5; ++c) {
            const QString want = QString::fromUtf8(expected[r - 1][c - 1]);
            if (estimate.at(r, c) != want) {
                QFAIL(qPrintable(QStringLiteral("row %1 column %2: got %3, expected %4")
                                     .arg(r)
                                     .arg(c)
                                     .arg(estimate.at(r, c), want)));
            }
        }
    }
    // Positions without staff weights never get staff.
    const QString zero3 = estimate.at(4, 1);
    for (int r : {4, 5, 6, 7, 8, 9, 11}) {
        QCOMPARE(estimate.at(r, 1), zero3);
        QCOMPARE(estimate.at(r, 2), zero3);
        for (int c = 3; c <= 5; ++c) QCOMPARE(estimate.at(r, c), QStringLiteral("0"));
    }
}

void TestPayrollEstimate::statedFigures_data() {
    QTest::addColumn<Change>("change");
    QTest::addColumn<QStringList>("checks");  // "row:column=text"

    const Change none = [](Store&) {};
    QTest::newRow("teacher rate of one plain group")
        << none << QStringList{"1:1=0,095", "1:2=1,910"};
    QTest::newRow("eleven months: no year-round factor")
        << none << QStringList{"1:1=0,095", "13:1=0,130"};
    QTest::newRow("twelve months: year-round factor") << Change([](Store& s) {
        answer(s, Answer::MonthsOfOperation, "12");
        s.coefficients.longYearCoefficient = FieldValue::number(1.09);
    }) << QStringList{"1:1=0,104", "1:2=2,083"};
    QTest::newRow("six-day week raises the teacher rate")
        << Change([](Store& s) { s.record.setChoice(Flag::SixDayWeek); })
        << QStringList{"1:1=0,115"};
    QTest::newRow("positions without weight for the groups show salary 0") << Change([](Store& s) {
        setGroups(s, {{2, 7, 1, "20"}});
    }) << QStringList{"3:1=0,000", "3:3=0", "3:4=0", "2:3=14094", "1:3=15138"};
    QTest::newRow("music staff only from one year up") << Change([](Store& s) {
        setGroups(s, {{1, 7, 1, "20"}});
    }) << QStringList{"2:1=0,000", "2:3=0", "10:3=15138"};
    QTest::newRow("record of no pupils adds nothing") << Change([](Store& s) {
        setGroups(s, {{3, 7, 1, "20"}, {1, 9, 6, "0"}});
    }) << QStringList{"1:1=0,095", "1:2=1,910", "14:1=0,086"};
    QTest::newRow("decimal tie in the administrative total rounds up") << Change([](Store& s) {
        answer(s, Answer::PupilCount, "11,5");
        answer(s, Answer::GroupCount, "2");
    }) << QStringList{"23:1=0,239", "23:2=2,749"};
    QTest::newRow("total staff units with two decimals, cost per pupil plain")
        << none << QStringList{"25:2=8,21", "25:4=117074"};
    QTest::newRow("service staff from own fund typed with a comma; exact half rounds up")
        << Change([](Store& s) {
               s.record.useOwnServicesData = FieldValue::integer(1);
               answer(s, Answer::PupilCount, "2");
               setGroups(s, {{3, 7, 1, "2"}});
               answer(s, Answer::ServiceStaffPayrollFund, "1000,5");
               s.coefficients.serviceStaffCostIndex = FieldValue::number(0.5);
           })
        << QStringList{"24:5=1001", "24:4=501", "24:3=11978"};
    QTest::newRow("service staff at the standard cost")
        << none << QStringList{"24:4=10888", "24:5=217760", "24:3=11978", "24:1=0,056"};
    QTest::newRow("fractional group count has no administrative staff")
        << Change([](Store& s) { answer(s, Answer::GroupCount, "2,5"); })
        << QStringList{"15:1=0,000", "15:4=0", "23:1=0,000", "23:3=0"};
    QTest::newRow("own payroll: salaries from the minimum salary") << Change([](Store& s) {
        s.record.useOwnPayrollData = FieldValue::integer(1);
        answer(s, Answer::MinTeacherSalary, "10000");
        answer(s, Answer::TeacherPayrollFund, "100000");
        answer(s, Answer::TeacherCompensationFund, "20000");
        answer(s, Answer::TeacherIncentiveFund, "30000");
    }) << QStringList{"1:3=21481", "15:3=68838", "14:3=18357"};
}

void TestPayrollEstimate::statedFigures() {
    QFETCH(Change, change);
    QFETCH(QStringList, checks);
    Store store = plainGroupStore();
    change(store);
    const PayrollEstimate estimate = computePayrollEstimate(store);
    for (const QString& check : checks) {
        const int colon = check.indexOf(':');
        const int eq = check.indexOf('=');
        const int row = check.left(colon).toInt();
        const int column = check.mid(colon + 1, eq - colon - 1).toInt();
        QVERIFY2(estimate.at(row, column) == check.mid(eq + 1),
                 qPrintable(check + " got " + estimate.at(row, column)));
    }
}

void TestPayrollEstimate::groupCountAboveThirtyStaffsAsThirty_data() {
    QTest::addColumn<QString>("groups");
    QTest::newRow("31 groups") << "31";
    QTest::newRow("45 groups") << "45";
    QTest::newRow("28 groups") << "28";
}

void TestPayrollEstimate::groupCountAboveThirtyStaffsAsThirty() {
    QFETCH(QString, groups);
    Store thirty = standardStore();
    answer(thirty, Answer::GroupCount, "30");
    Store more = standardStore();
    answer(more, Answer::GroupCount, groups.toUtf8().constData());
    const PayrollEstimate a = computePayrollEstimate(thirty);
    const PayrollEstimate b = computePayrollEstimate(more);
    for (int r = 15; r <= 25; ++r) {
        for (int c = 1; c <= 5; ++c) QCOMPARE(b.at(r, c), a.at(r, c));
    }
    QCOMPARE(a.at(16, 2), QStringLiteral("3,000"));
}

void TestPayrollEstimate::zeroDivisorsShowZero_data() {
    QTest::addColumn<Change>("change");
    QTest::newRow("no pupils") << Change([](Store& s) { answer(s, Answer::PupilCount, "0"); });
    QTest::newRow("payroll fund used up by compensation and incentive") << Change([](Store& s) {
        s.record.useOwnPayrollData = FieldValue::integer(1);
        answer(s, Answer::TeacherPayrollFund, "5000");
        answer(s, Answer::TeacherCompensationFund, "3000");
        answer(s, Answer::TeacherIncentiveFund, "2000");
    });
    QTest::newRow("no distribution records")
        << Change([](Store& s) { s.distribution.recordCount = FieldValue::integer(0); });
}

void TestPayrollEstimate::zeroDivisorsShowZero() {
    QFETCH(Change, change);
    Store store = standardStore();
    change(store);
    const Store before = store;
    const PayrollEstimate estimate = computePayrollEstimate(store);
    const QLocale ru = russian();
    for (int r = 1; r <= 25; ++r) {
        for (int c = 1; c <= 5; ++c) {
            const QString& text = estimate.at(r, c);
            QVERIFY2(parseNumber(text, ru).has_value(),
                     qPrintable(QStringLiteral("row %1 column %2: '%3'").arg(r).arg(c).arg(text)));
        }
    }
    QCOMPARE(store.record.answers, before.record.answers);
}

void TestPayrollEstimate::boxOrderForTheWorkbook() {
    PayrollEstimate estimate;
    for (int r = 1; r <= 25; ++r) {
        for (int c = 1; c <= 5; ++c)
            estimate.rows[r - 1][c - 1] = QStringLiteral("%1.%2").arg(r).arg(c);
    }
    const SavedPayrollEstimateText copy = estimate.boxTexts();
    QCOMPARE(copy.texts[0], QStringLiteral("1.1"));     // Text1
    QCOMPARE(copy.texts[114], QStringLiteral("23.5"));  // Text115
    QCOMPARE(copy.texts[115], QStringLiteral("24.5"));  // Text116: service staff, last column
    QCOMPARE(copy.texts[119], QStringLiteral("24.1"));  // Text120: its first column
    QCOMPARE(copy.texts[120], QStringLiteral("25.1"));  // Text221
    QCOMPARE(copy.texts[124], QStringLiteral("25.5"));  // Text225
    for (int r = 1; r <= 25; ++r) {
        for (int c = 1; c <= 5; ++c) QCOMPARE(copy.at(r, c), estimate.at(r, c));
    }
}

void TestPayrollEstimate::lastPassWeightsAreKept() {
    Store store = plainGroupStore();
    setGroups(store, {{3, 7, 1, "10"}, {1, 9, 6, "10"}});
    const PayrollEstimate estimate = computePayrollEstimate(store);
    // Support staff weights: 1 for the plain group, 2 × 2.04 × 4.560503 for the other.
    QCOMPARE(estimate.groupWeights[0], Currency::fromWhole(1));
    QCOMPARE(estimate.groupWeights[1], Currency::fromRaw(186069));
    QCOMPARE(estimate.groupWeights[2], Currency());
}

QTEST_GUILESS_MAIN(TestPayrollEstimate)
#include "test_payrollestimate.moc"
