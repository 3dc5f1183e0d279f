// The saved report's calculation trail: every figure as tests/calc/derive_expected.py derives
// it, the normatives recomputed from the report's own sheets, refused stages, the layout.

#include "calctesthelpers.h"
#include "calculationtrail.h"
#include "currency.h"
#include "fullcases.h"
#include "inputcheck.h"
#include "methodologytexts.h"
#include "methodologyworkbook.h"
#include "normativecalculation.h"
#include "openworkbook.h"
#include "packageview.h"
#include "savedreport.h"
#include "savedreporttexts.h"
#include "savexlsx.h"

#include <QFile>
#include <QHash>
#include <QTemporaryDir>
#include <QtTest>
#include <algorithm>
#include <array>
#include <limits>
#include <optional>
#include <vector>

using namespace normativ;
using namespace calctest;

namespace {

/// One figure of the trail as derive_expected.py --trail names it.
struct Figure {
    const char* key;
    double value;
};

// Printed by `/usr/bin/python3 tests/calc/derive_expected.py --trail` for the full cases 1
// and 3 (its TRAIL_CASES), in the trail's order.
// clang-format off
const std::vector<Figure> kStandardVillageFigures{
    {"yearIndex", 1.3420000076293945},
    {"payrollFund", 8700.0},
    {"compensationFund", 2900.0},
    {"incentiveFund", 0.0},
    {"accrual", 1.5},
    {"minSalary", 8700.0},
    {"teacherCost", 29489.34802511035},
    {"village", 1.25},
    {"villageSupport", 0.8428571224212646},
    {"kind", 1.100000023841858},
    {"longYear", 1.0},
    {"sixDayWeek", 1.2000000476837158},
    {"pupilCount", 30.5},
    {"pupils 1", 10.0},
    {"pupils 2", 20.5},
    {"weight E1 1", 0.4851},
    {"weight E1 2", 4.0036},
    {"load E1", 2.849993442622951},
    {"weight E2 1", 1.0},
    {"weight E2 2", 0.3555},
    {"load E2", 0.5668131147540983},
    {"educationNorm", 147948.3693226766},
    {"groupCount", 0.3584935665130615},
    {"staffWeek", 1.2},
    {"weight M1 1", 0.48},
    {"weight M1 2", 2.2985},
    {"load M1", 1.7022688524590164},
    {"weight M2 1", 1.0},
    {"weight M2 2", 2.6667},
    {"load M2", 2.1202426229508196},
    {"partB", 15501.395263002358},
    {"partA", 31679.41093066786},
    {"weight M3 1", 1.0},
    {"weight M3 2", 1.4902},
    {"load M3", 1.3294786885245902},
    {"item 1", 14475.375645527023},
    {"item 2", 9835.087999559746},
    {"item 3", 334.32226280997855},
    {"item 4", 21526.080210495646},
    {"item 5", 29.522585501755263},
    {"item 6", 3191.6995465700243},
    {"item 7", 1244.7688895579854},
    {"item 8", 4738.466206569384},
    {"parentPayment", 8552.25},
    {"maintenanceNorm", 94003.87954026177},
    {"totalNorm", 241952.24886293837},
    {"educationSubsidy", 4512425.264341636},
    {"maintenanceSubsidy", 2867118.325977984},
    {"totalSubsidy", 7379543.59031962},
};
const std::vector<Figure> kOwnDataCityFigures{
    {"yearIndex", 1.3420000076293945},
    {"payrollFund", 9800000.0},
    {"compensationFund", 1200000.0},
    {"incentiveFund", 850000.25},
    {"accrual", 1.2645161698231022},
    {"minSalary", 15000.5},
    {"teacherCost", 42774.48675114025},
    {"village", 1.0},
    {"villageSupport", 1.0},
    {"kind", 1.0},
    {"longYear", 1.09},
    {"sixDayWeek", 1.0},
    {"pupilCount", 120.0},
    {"pupils 1", 15.0},
    {"pupils 2", 40.0},
    {"pupils 3", 50.0},
    {"pupils 4", 15.0},
    {"weight E1 1", 1.9761},
    {"weight E1 2", 1.1515},
    {"weight E1 3", 4.4714},
    {"weight E1 4", 2.4103},
    {"load E1", 2.7952166666666667},
    {"weight E2 1", 0.5838},
    {"weight E2 2", 0.6854},
    {"weight E2 3", 0.4252},
    {"weight E2 4", 0.3724},
    {"load E2", 0.5251583333333333},
    {"educationNorm", 139906.46994213358},
    {"groupCount", 0.9408866763114929},
    {"staffWeek", 1.0},
    {"weight M1 1", 2.32},
    {"weight M1 2", 1.2972},
    {"weight M1 3", 2.8503},
    {"weight M1 4", 1.3682},
    {"load M1", 2.08105},
    {"weight M2 1", 2.0},
    {"weight M2 2", 1.7777},
    {"weight M2 3", 2.5},
    {"weight M2 4", 3.3333},
    {"load M2", 2.3008958333333336},
    {"partB", 69949.44100448502},
    {"partA", 51132.417030447556},
    {"staffCostIndex", 0.008875},
    {"utilities", 1652261.8125},
    {"indexedCosts", 6676000.8},
    {"parentPayment", 21600.0},
    {"taxes", 1194436.3624999998},
    {"maintenanceNorm", 182453.84992659924},
    {"totalNorm", 322360.3198687328},
    {"educationSubsidy", 16788776.39305603},
    {"maintenanceSubsidy", 21894461.99119191},
    {"totalSubsidy", 38683238.38424794},
};
// clang-format on

constexpr int kStandardVillageCase = 1;
constexpr int kOwnDataCityCase = 3;

const QStringList kPasses{"E1", "E2", "M1", "M2", "M3"};

const SavedReportTexts::Trail& trailTexts() {
    return savedReportTexts().trail;
}

QString capitalisedShortName(Answer a) {
    QString name = answerShortName(a);
    name[0] = name[0].toUpper();
    return name;
}

/// The name of the trail's line for a key of derive_expected.py.
QString lineName(const QString& key) {
    const auto& t = trailTexts();
    const auto& results = savedReportTexts().results;
    const QStringList parts = key.split(u' ');
    if (parts[0] == u"pupils") return t.recordPupils.arg(parts[1]);
    if (parts[0] == u"weight") return t.groupWeight.arg(parts[2]);
    if (parts[0] == u"load") return t.loadFactors[kPasses.indexOf(parts[1])];
    if (parts[0] == u"item") return methodologyTexts().serviceItems[parts[1].toInt() - 1];
    const QHash<QString, QString> names{
        {"yearIndex", t.yearIndex.name},
        {"payrollFund", capitalisedShortName(Answer::TeacherPayrollFund)},
        {"compensationFund", capitalisedShortName(Answer::TeacherCompensationFund)},
        {"incentiveFund", capitalisedShortName(Answer::TeacherIncentiveFund)},
        {"accrual", t.accrualFactor.name},
        {"minSalary", capitalisedShortName(Answer::MinTeacherSalary)},
        {"teacherCost", t.teacherCost.name},
        {"village", t.village.name},
        {"villageSupport", t.villageSupport.name},
        {"kind", t.kind.name},
        {"longYear", t.longYear.name},
        {"sixDayWeek", t.sixDayWeek.name},
        {"pupilCount", capitalisedShortName(Answer::PupilCount)},
        {"educationNorm", results[0].label},
        {"groupCount", t.groupCount.name},
        {"staffWeek", t.staffWeek.name},
        {"partB", t.payrollPartB.name},
        {"partA", t.payrollPartA.name},
        {"staffCostIndex", t.staffCostIndex.name},
        {"utilities", t.utilities.name},
        {"indexedCosts", t.indexedCosts.name},
        {"parentPayment", t.parentPayment.name},
        {"taxes", t.taxes.name},
        {"maintenanceNorm", results[1].label},
        {"totalNorm", results[2].label},
        {"educationSubsidy", results[3].label},
        {"maintenanceSubsidy", results[4].label},
        {"totalSubsidy", results[5].label},
    };
    return names.value(key, QStringLiteral("(unknown key %1)").arg(key));
}

void fillFromCase(Store& store, const FullCase& c) {
    store.record.planningYear = FieldValue::text(QString::fromLatin1(c.year));
    store.record.useOwnPayrollData = FieldValue::integer(c.ownPayroll);
    store.record.useOwnServicesData = FieldValue::integer(c.ownServices);
    for (const auto& [name, text] : c.answers) {
        store.record.storeAnswer(*answerByName(QString::fromLatin1(name)), QString::fromUtf8(text),
                                 store.locale);
    }
    if (c.ownPayroll == 0) store.record.writePayrollDefaults(store.methodology->payrollDefaults);
    for (const char* flag : c.flags) store.record.setChoice(*flagByName(QString::fromLatin1(flag)));
    setRecordList(store, c.records);
}

/// The store of a full case after the calculation.
Store computedCase(int index) {
    const FullCase& c = fullCases()[static_cast<std::size_t>(index)];
    Store store(QString::fromLatin1(c.locale) == u"ru" ? russian() : english());
    fillFromCase(store, c);
    runNormativeCalculation(store);
    return store;
}

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

/// A line of the trail sheet as read back from the file.
struct SheetLine {
    QString name;
    CellValue value;
    QString how;
};

/// The saved report of a store, written to a file and read back.
class SavedReport {
  public:
    explicit SavedReport(const Store& store) {
        path_ = dir_.filePath(QStringLiteral("report.xlsx"));
        const Status saved = saveWorkbook(buildSavedReport(store), path_);
        if (!saved.ok()) qWarning("%s", qPrintable(saved.error()));
        bytes_ = readAll(path_);
        if (Result<LoadedWorkbook> read = openWorkbook(bytes_); read.ok()) {
            book_ = std::move(read.value());
        }
    }
    const QString& path() const { return path_; }
    const QByteArray& bytes() const { return bytes_; }

    /// The lines under the trail's header, in order.
    std::vector<SheetLine> lines() const {
        std::vector<SheetLine> out;
        int sheet = 0;
        for (int s = 1; s <= book_.sheetCount(); ++s) {
            if (book_.sheetName(s) == trailTexts().sheet) sheet = s;
        }
        int row = 1;
        while (row < 100 && book_.cell(sheet, row, 1).toText() != trailTexts().header[0]) ++row;
        for (++row; !book_.cell(sheet, row, 1).isEmpty(); ++row) {
            out.push_back({book_.cell(sheet, row, 1).toText(), book_.cell(sheet, row, 2),
                           book_.cell(sheet, row, 3).toText()});
        }
        return out;
    }

  private:
    QTemporaryDir dir_;
    QString path_;
    QByteArray bytes_;
    LoadedWorkbook book_;
};

/// The figures of the trail's lines by name; a line of a weighting pass also by its pass
/// ("E1: Запись 2: вес группы"), as the records' lines repeat in every pass.
class Figures {
  public:
    explicit Figures(const std::vector<SheetLine>& lines) {
        const QStringList& titles = methodologyTexts().weightTitles;
        QString pass;
        for (const SheetLine& line : lines) {
            if (!line.value.isNumber()) {
                const auto i = titles.indexOf(line.name);
                pass = i >= 0 ? kPasses[i] : QString();
                continue;
            }
            if (!pass.isEmpty())
                values_.insert(pass + QStringLiteral(": ") + line.name, line.value.toNumber());
            if (!values_.contains(line.name)) values_.insert(line.name, line.value.toNumber());
        }
    }
    /// The figure of a line; NaN when the trail has no such line, so that any check fails.
    double operator()(const QString& name) const {
        return values_.value(name, std::numeric_limits<double>::quiet_NaN());
    }
    double weight(const QString& pass, int record) const {
        return (*this)(pass + QStringLiteral(": ") + trailTexts().groupWeight.arg(record));
    }

  private:
    QHash<QString, double> values_;
};

/// The pass's load factor from the trail's lines: Σ (pupils × weight, in currency) / pupils.
double loadFactor(const Figures& f, const QString& pass, int records) {
    const double pupilCount = f(capitalisedShortName(Answer::PupilCount));
    double load = 0;
    for (int r = 1; r <= records; ++r) {
        const auto pupils = Currency::fromDouble(f(trailTexts().recordPupils.arg(r)));
        const auto weight = Currency::fromDouble(f.weight(pass, r));
        if (!pupils || !weight) return std::numeric_limits<double>::quiet_NaN();
        load += pupils->times(*weight)->toDouble() / pupilCount;
    }
    return load;
}

/// The lines of one section of the trail (after its heading, up to the next section).
std::vector<TrailLine> sectionLines(const std::vector<TrailLine>& trail, const QString& section) {
    std::vector<TrailLine> out;
    bool inside = false;
    for (const TrailLine& line : trail) {
        if (line.kind == TrailLine::Kind::Section) {
            inside = line.name == section;
        } else if (inside) {
            out.push_back(line);
        }
    }
    return out;
}

bool hasLine(const std::vector<TrailLine>& lines, const QString& name) {
    return std::ranges::any_of(lines, [&](const TrailLine& l) { return l.name == name; });
}

}  // namespace

Q_DECLARE_METATYPE(std::vector<Figure>)

class TestCalculationTrail : public QObject {
    Q_OBJECT

  private slots:
    void figuresAsDerived_data() {
        QTest::addColumn<int>("index");
        QTest::addColumn<std::vector<Figure>>("expected");
        QTest::newRow("standard way, village, six days, 31 groups")
            << kStandardVillageCase << kStandardVillageFigures;
        QTest::newRow("own payroll and services figures, city")
            << kOwnDataCityCase << kOwnDataCityFigures;
    }

    // Every figure line of the sheet, in order, named as expected and holding exactly the
    // independently derived value (read back from the file).
    void figuresAsDerived() {
        QFETCH(int, index);
        QFETCH(std::vector<Figure>, expected);
        const SavedReport report(computedCase(index));
        std::vector<SheetLine> figures;
        for (const SheetLine& line : report.lines()) {
            if (line.value.isNumber()) figures.push_back(line);
        }
        for (std::size_t i = 0; i < std::min(figures.size(), expected.size()); ++i) {
            const QString key = QString::fromLatin1(expected[i].key);
            QVERIFY2(figures[i].name == lineName(key),
                     qPrintable(QStringLiteral("line %1 is «%2», expected «%3» (%4)")
                                    .arg(i + 1)
                                    .arg(figures[i].name, lineName(key), key)));
            CALC_COMPARE_EXACT(figures[i].value.toNumber(), expected[i].value);
        }
        QCOMPARE(figures.size(), expected.size());
    }

    void normativesFromTheSheets_data() {
        QTest::addColumn<int>("index");
        QTest::newRow("standard way") << kStandardVillageCase;
        QTest::newRow("own figures") << kOwnDataCityCase;
    }

    // A finance officer's check: the report's trail lines and its methodology sheet are
    // enough to redo every normative, in the calculation's order, to the last digit.
    void normativesFromTheSheets() {
        QFETCH(int, index);
        const Store store = computedCase(index);
        const SavedReport report(store);
        const Result<Methodology> read = readMethodologyWorkbook(report.bytes());
        QVERIFY2(read.ok(), qPrintable(read.error()));
        const Methodology& m = read.value();
        const auto widen = [](float v) { return static_cast<double>(v); };
        const Figures f(report.lines());
        const auto& t = trailTexts();
        const auto& results = savedReportTexts().results;
        const int records = store.distribution.usedRecords();

        const double payroll = f(capitalisedShortName(Answer::TeacherPayrollFund));
        const double compensation = f(capitalisedShortName(Answer::TeacherCompensationFund));
        const double incentive = f(capitalisedShortName(Answer::TeacherIncentiveFund));
        const double base = (payroll - compensation) - incentive;
        const double accrual = compensation / base + incentive / base + 1;
        CALC_COMPARE_EXACT(f(t.accrualFactor.name), accrual);
        const double salary = f(capitalisedShortName(Answer::MinTeacherSalary));
        const double yearIndex = f(t.yearIndex.name);
        CALC_COMPARE_EXACT(f(t.teacherCost.name),
                           ((((accrual * salary) * widen(m.salaryFactor) + m.salaryAddend) *
                             widen(m.monthlyShare)) *
                            12) *
                               yearIndex);
        for (int i = 0; i < kPasses.size(); ++i) {
            // M3 runs only in the standard way.
            if (i == 4 && store.record.useOwnServicesData.toDouble(store.locale) == 1) break;
            QVERIFY2(f(t.loadFactors[i]) == loadFactor(f, kPasses[i], records),
                     qPrintable(kPasses[i]));
        }
        const double education = f(results[0].label);
        CALC_COMPARE_EXACT(
            education,
            f(t.teacherCost.name) * f(t.village.name) * f(t.kind.name) * f(t.loadFactors[0]) *
                f(t.longYear.name) * f(t.sixDayWeek.name) *
                (1 + widen(m.supportShare) * f(t.villageSupport.name) * f(t.loadFactors[1])));

        const double partB = f(t.longYear.name) * f(t.loadFactors[3]) * widen(m.payrollShareB) *
                             f(t.groupCount.name) * accrual * widen(m.salaryFactor) * salary * 12 *
                             yearIndex;
        CALC_COMPARE_EXACT(f(t.payrollPartB.name), partB);
        const double partA = f(t.longYear.name) * f(t.staffWeek.name) * f(t.loadFactors[2]) *
                             widen(m.payrollShareA) * (accrual * salary * widen(m.salaryFactor)) *
                             12 * yearIndex;
        CALC_COMPARE_EXACT(f(t.payrollPartA.name), partA);
        const double pupils = f(capitalisedShortName(Answer::PupilCount));
        double maintenance = 0;
        if (store.record.useOwnServicesData.toDouble(store.locale) == 1) {
            maintenance = ((((partB + partA) + f(t.utilities.name) / pupils) +
                            f(t.indexedCosts.name) * f(t.staffCostIndex.name)) -
                           f(t.parentPayment.name)) +
                          widen(m.taxTermFactor) * (f(t.taxes.name) / pupils);
        } else {
            maintenance = partB + partA;
            for (int k = 0; k < kServiceItemCount; ++k) {
                const double item = f(methodologyTexts().serviceItems[k]);
                CALC_COMPARE_EXACT(item, widen(m.serviceItemBase[k]) * f(t.loadFactors[4]));
                maintenance += item;
            }
            maintenance -= f(t.parentPayment.name);
        }
        CALC_COMPARE_EXACT(f(results[1].label), maintenance);
        CALC_COMPARE_EXACT(f(results[2].label), education + maintenance);
        CALC_COMPARE_EXACT(f(results[3].label), pupils * education);
        CALC_COMPARE_EXACT(f(results[4].label), pupils * maintenance);
        CALC_COMPARE_EXACT(f(results[5].label), pupils * (education + maintenance));
        // And they are the normatives of the first sheet.
        CALC_COMPARE_EXACT(education, store.record.educationNorm.toDouble(store.locale));
        CALC_COMPARE_EXACT(maintenance, store.record.maintenanceNorm.toDouble(store.locale));
    }

    void refusedStages_data() {
        QTest::addColumn<int>("change");
        QTest::addColumn<QString>("educationCauses");    // empty: computed
        QTest::addColumn<QString>("maintenanceCauses");  // empty: computed
        QTest::newRow("a record's pupils not entered")
            << 0 << "количество воспитанников в записи 2 — не введено"
            << "количество воспитанников в записи 2 — не введено";
        QTest::newRow("a fractional group count") << 1 << ""
                                                  << "количество групп — не целое число от 1";
        QTest::newRow("maintenance way neither 0 nor 1")
            << 2 << ""
            << "способ расчета норматива по содержанию — не выбран";
        QTest::newRow("education result out of range")
            << 3 << "норматив по обучению — результат вне допустимого диапазона"
            << "";
    }

    // A refused stage shows "неверный ввод" with the causes instead of figures, and the
    // results need both; a stage that computed alone still shows what it used.
    void refusedStages() {
        QFETCH(int, change);
        QFETCH(QString, educationCauses);
        QFETCH(QString, maintenanceCauses);
        const FullCase& c = fullCases()[kStandardVillageCase];
        Store store(english());
        fillFromCase(store, c);
        switch (change) {
            case 0:
                store.distribution.storePupilText(2, QString(), store.locale);
                break;
            case 1:
                store.record.storeAnswer(Answer::GroupCount, QStringLiteral("2.5"), store.locale);
                break;
            case 2:
                store.record.useOwnServicesData = FieldValue::integer(2);
                break;
            case 3: {
                // An addend that takes the education normative past the largest double; the
                // maintenance normative doesn't use it.
                auto m = std::make_shared<Methodology>(*store.methodology);
                m->salaryAddend = 9e307;
                store.methodology = m;
                break;
            }
        }
        runNormativeCalculation(store);
        const std::vector<TrailLine> trail = calculationTrail(store);
        const auto& t = trailTexts();
        const auto& results = savedReportTexts().results;

        const auto check = [&](const QString& section, const QString& causes, const QString& norm) {
            const std::vector<TrailLine> lines = sectionLines(trail, section);
            QVERIFY(!lines.empty());
            if (causes.isEmpty()) {
                QCOMPARE(lines.back().name, norm);
                QVERIFY(lines.back().value.has_value());
            } else {
                QCOMPARE(lines.size(), std::size_t(1));
                QCOMPARE(lines[0].kind, TrailLine::Kind::Refused);
                QCOMPARE(lines[0].how, t.refused.how.arg(causes));
            }
        };
        check(t.educationSection, educationCauses, results[0].label);
        check(t.maintenanceSection, maintenanceCauses, results[1].label);
        const std::vector<TrailLine> resultLines = sectionLines(trail, t.resultsSection);
        const bool both = educationCauses.isEmpty() && maintenanceCauses.isEmpty();
        QCOMPARE(resultLines.size(), both ? std::size_t(4) : std::size_t(1));
        QCOMPARE(resultLines[0].kind, both ? TrailLine::Kind::Value : TrailLine::Kind::Refused);
        if (!educationCauses.isEmpty() && maintenanceCauses.isEmpty()) {
            const auto maintenance = sectionLines(trail, t.maintenanceSection);
            for (const QString& shared :
                 {t.yearIndex.name, t.accrualFactor.name, t.longYear.name, t.recordPupils.arg(1)}) {
                QVERIFY2(hasLine(maintenance, shared), qPrintable(shared));
            }
        }

        // The sheet says so in the value column.
        const SavedReport report(store);
        const auto lines = report.lines();
        const bool refusedShown = std::ranges::any_of(lines, [](const SheetLine& l) {
            return l.value == CellValue::text(calcTexts().invalidInput);
        });
        QVERIFY(refusedShown);
    }

    // The constants of a "how" text are the methodology's, with every digit it gives.
    void howNamesTheMethodologysConstants() {
        const Store store = computedCase(kOwnDataCityCase);
        const auto& t = trailTexts();
        const std::vector<TrailLine> trail = calculationTrail(store);
        const auto how = [&](const QString& name) {
            for (const TrailLine& l : trail) {
                if (l.name == name) return l.how;
            }
            return QString();
        };
        QVERIFY(how(t.teacherCost.name).contains(u"× 1,1472942 + 100) × 0,12149407)"));
        QVERIFY(how(t.payrollPartB.name).contains(u"× 0,084583335 ×"));
        QVERIFY(how(t.utilities.name).contains(u"+ 0,5 × объем тепловой энергии"));
        QVERIFY(how(t.longYear.name).contains(u"(12) больше 11"));
        // Record 2: from 1 to 3 years, 8 hours, orientation 2 of E1.
        QCOMPARE(how(t.groupWeight.arg(2)).section(u' ', 0, 6),
                 QStringLiteral("= (1,3351507 × 0,64684165) × 1,3333334 по"));
    }

    void layout() {
        const SavedReport report(computedCase(kOwnDataCityCase));
        const packagetest::Package p(report.path(), 4);
        QVERIFY(p.loaded());
        // The title, the header, the first section, a figure with its name and how.
        for (const char* address : {"A1", "A5", "A6", "A7", "B7", "C7"}) {
            QCOMPARE(p.style(address).font, QStringLiteral("Times New Roman"));
            QCOMPARE(p.style(address).size, 12.0);
        }
        QVERIFY(p.style("A1").bold);
        QVERIFY(p.style("B5").bold);
        QVERIFY(p.style("A6").bold);
        QVERIFY(!p.style("A7").bold);
        QCOMPARE(p.style("B7").numberFormat, QStringLiteral("0.0##############"));
        QVERIFY(p.style("A7").wrap && p.style("C7").wrap);
        QCOMPARE(p.style("C7").left, QStringLiteral("thin"));
        QVERIFY(p.merges().contains(QStringLiteral("A6:C6")));
        // The three columns fit an upright A4 page with the default margins (a width unit
        // prints as about 5.6 points, the page holds 494).
        const double widths = p.columnWidth(1) + p.columnWidth(2) + p.columnWidth(3);
        QVERIFY2(widths <= 87, qPrintable(QString::number(widths)));
        QVERIFY(p.columnWidth(3) >= 30);
        // A long "how" gets the lines it needs.
        const auto lines = report.lines();
        const auto teacher = std::ranges::find_if(
            lines, [](const SheetLine& l) { return l.name == trailTexts().teacherCost.name; });
        QVERIFY(teacher != lines.end());
        const int row = 6 + static_cast<int>(teacher - lines.begin());
        QVERIFY(p.rowHeight(row).value_or(0) >= 6 * 15.75);
    }
};

QTEST_GUILESS_MAIN(TestCalculationTrail)
#include "test_calculationtrail.moc"
