#include "methodologies.h"
#include "methodologyfingerprint.h"

#include <QSet>
#include <QtTest>

#include <functional>

using namespace normativ;

namespace {

struct Change {
    QString what;
    std::function<void(Methodology&)> apply;
};

void changed(float& v) {
    v = v == 0 ? 0.5f : v * 0.75f;
}
void changed(double& v) {
    v = v == 0 ? 0.5 : v * 0.75;
}

/// One change for every value of the methodology, each alone.
std::vector<Change> everyValueChange() {
    std::vector<Change> changes;
    auto add = [&changes](QString what, std::function<void(Methodology&)> apply) {
        changes.push_back({std::move(what), std::move(apply)});
    };
    const Methodology& example = *Methodology::example();
    for (std::size_t i = 0; i < example.planningYears.size(); ++i) {
        add(QStringLiteral("year %1").arg(i),
            [i](Methodology& m) { m.planningYears[i].year += 50; });
        add(QStringLiteral("index %1").arg(i), [i](Methodology& m) {
            PlanningYear& y = m.planningYears[i];
            y.index =
                y.singlePrecision ? double(static_cast<float>(y.index) * 0.75f) : y.index * 0.75;
        });
        add(QStringLiteral("precision %1").arg(i), [i](Methodology& m) {
            PlanningYear& y = m.planningYears[i];
            y.index = double(static_cast<float>(y.index));
            y.singlePrecision = !y.singlePrecision;
        });
    }
    add(QStringLiteral("a year added"), [](Methodology& m) {
        m.planningYears.push_back({2013, double(1.4f), true});
    });
    add(QStringLiteral("a year removed"), [](Methodology& m) { m.planningYears.pop_back(); });

    const std::pair<const char*, float Methodology::*> singles[] = {
        {"salaryFactor", &Methodology::salaryFactor},
        {"monthlyShare", &Methodology::monthlyShare},
        {"supportShare", &Methodology::supportShare},
        {"villageCoefficient", &Methodology::villageCoefficient},
        {"villageSupportCoefficient", &Methodology::villageSupportCoefficient},
        {"kindCoefficient", &Methodology::kindCoefficient},
        {"sixDayWeekCoefficient", &Methodology::sixDayWeekCoefficient},
        {"payrollShareA", &Methodology::payrollShareA},
        {"payrollShareB", &Methodology::payrollShareB},
        {"manyGroupsCoefficient", &Methodology::manyGroupsCoefficient},
        {"taxTermFactor", &Methodology::taxTermFactor},
        {"salaryShare", &Methodology::salaryShare},
        {"estimateSixDayWeekFactor", &Methodology::estimateSixDayWeekFactor},
        {"yearRoundFactor", &Methodology::yearRoundFactor},
    };
    for (const auto& [name, member] : singles) {
        add(QString::fromLatin1(name), [member](Methodology& m) { changed(m.*member); });
    }
    const std::pair<const char*, double Methodology::*> doubles[] = {
        {"salaryAddend", &Methodology::salaryAddend},
        {"longYearCoefficient", &Methodology::longYearCoefficient},
        {"longYearMonths", &Methodology::longYearMonths},
        {"staffSixDayWeekCoefficient", &Methodology::staffSixDayWeekCoefficient},
        {"heatShare", &Methodology::heatShare},
        {"electricityShare", &Methodology::electricityShare},
        {"electricityTaxShare", &Methodology::electricityTaxShare},
        {"repairAreaShare", &Methodology::repairAreaShare},
    };
    for (const auto& [name, member] : doubles) {
        add(QString::fromLatin1(name), [member](Methodology& m) { changed(m.*member); });
    }
    const std::pair<const char*, float PayrollDefaults::*> defaults[] = {
        {"minTeacherSalary", &PayrollDefaults::minTeacherSalary},
        {"teacherPayrollFund", &PayrollDefaults::teacherPayrollFund},
        {"teacherCompensationFund", &PayrollDefaults::teacherCompensationFund},
        {"teacherIncentiveFund", &PayrollDefaults::teacherIncentiveFund},
    };
    for (const auto& [name, member] : defaults) {
        add(QString::fromLatin1(name),
            [member](Methodology& m) { changed(m.payrollDefaults.*member); });
    }

    const std::pair<const char*, WeightSet Methodology::*> sets[] = {
        {"E1", &Methodology::educationLoad},    {"E2", &Methodology::educationSupportLoad},
        {"M1", &Methodology::maintenanceLoadA}, {"M2", &Methodology::maintenanceLoadB},
        {"M3", &Methodology::serviceItemLoad},
    };
    for (const auto& [name, set] : sets) {
        const QString n = QString::fromLatin1(name);
        for (std::size_t i = 0; i < 3; ++i) {
            add(n + QStringLiteral(" age %1").arg(i),
                [set, i](Methodology& m) { changed((m.*set).age[i]); });
        }
        if ((example.*set).stay) {
            for (std::size_t i = 0; i < 9; ++i) {
                add(n + QStringLiteral(" stay %1").arg(i),
                    [set, i](Methodology& m) { changed((*(m.*set).stay)[i]); });
            }
            add(n + QStringLiteral(" without stay"),
                [set](Methodology& m) { (m.*set).stay.reset(); });
        } else {
            add(n + QStringLiteral(" with stay"),
                [set](Methodology& m) { (m.*set).stay = std::array<float, 9>{}; });
        }
        for (std::size_t i = 0; i < 6; ++i) {
            add(n + QStringLiteral(" orientation %1").arg(i),
                [set, i](Methodology& m) { changed((m.*set).orientation[i]); });
        }
    }
    for (std::size_t i = 0; i < kGroupCountLines; ++i) {
        add(QStringLiteral("groups %1").arg(i + 1),
            [i](Methodology& m) { changed(m.groupCountCoefficients[i]); });
    }
    for (std::size_t i = 0; i < kServiceItemCount; ++i) {
        add(QStringLiteral("service item %1").arg(i + 1),
            [i](Methodology& m) { changed(m.serviceItemBase[i]); });
    }
    for (std::size_t i = 0; i < kPayrollPositionRows; ++i) {
        add(QStringLiteral("salary %1").arg(i + 1),
            [i](Methodology& m) { m.positions[i].defaultSalary += 1; });
        add(QStringLiteral("salary coefficient %1").arg(i + 1),
            [i](Methodology& m) { changed(m.positions[i].salaryCoefficient); });
    }
    for (std::size_t s = 0; s < kStaffWeightSets; ++s) {
        const QString n = QStringLiteral("staff set %1 ").arg(s + 1);
        add(n + QStringLiteral("row"), [s](Methodology& m) { m.staffWeights[s].row = 5; });
        add(n + QStringLiteral("scale"), [s](Methodology& m) { changed(m.staffWeights[s].scale); });
        add(n + QStringLiteral("currency"), [s](Methodology& m) {
            m.staffWeights[s].currencyOrientation = !m.staffWeights[s].currencyOrientation;
        });
        for (std::size_t i = 0; i < 3; ++i) {
            add(n + QStringLiteral("age %1").arg(i),
                [s, i](Methodology& m) { changed(m.staffWeights[s].age[i]); });
        }
        for (std::size_t i = 0; i < 9; ++i) {
            add(n + QStringLiteral("stay %1").arg(i),
                [s, i](Methodology& m) { changed(m.staffWeights[s].stay[i]); });
        }
        for (std::size_t i = 0; i < 6; ++i) {
            add(n + QStringLiteral("orientation %1").arg(i),
                [s, i](Methodology& m) { changed(m.staffWeights[s].orientation[i]); });
        }
    }
    for (std::size_t l = 0; l < kAdministrativeLines; ++l) {
        add(QStringLiteral("administrative line %1 from").arg(l + 1),
            [l](Methodology& m) { m.administrativeStaff[l].fromGroups += 1; });
        for (std::size_t i = 0; i < 8; ++i) {
            add(QStringLiteral("administrative line %1 unit %2").arg(l + 1).arg(i + 1),
                [l, i](Methodology& m) { changed(m.administrativeStaff[l].units[i]); });
        }
    }
    return changes;
}

}  // namespace

class TestMethodologyFingerprint : public QObject {
    Q_OBJECT
  private slots:
    void exampleFingerprintIsFixed();
    void canonicalTextHasEveryValueOnce();
    void canonicalTextWritesValuesExactly_data();
    void canonicalTextWritesValuesExactly();
    void everyValueChangesTheFingerprint();
    void nameAndNoteDoNot();
};

void TestMethodologyFingerprint::exampleFingerprintIsFixed() {
    // The first 12 hex digits of sha256sum over the canonical text written to a file.
    QCOMPARE(methodologyFingerprint(*Methodology::example()), QStringLiteral("876c1dbf987d"));
}

void TestMethodologyFingerprint::canonicalTextHasEveryValueOnce() {
    const QStringList lines = canonicalMethodologyText(*Methodology::example())
                                  .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    // The format line, the year count, then the values: 9 of the years, 4 payroll
    // defaults, 21 scalars, E1 18, E2 10, M1 18, M2 10, M3 18, 31 group coefficients,
    // 8 service items, 48 of the positions, 6 × 21 staff weights, 11 × 9 administrative.
    QCOMPARE(lines.size(), 2 + 9 + 4 + 21 + 18 + 10 + 18 + 10 + 18 + 31 + 8 + 48 + 126 + 99);
    QSet<QString> keys;
    for (const QString& line : lines) {
        const QString key = line.section(QLatin1Char('='), 0, 0);
        QVERIFY2(!keys.contains(key), qPrintable(key));
        keys.insert(key);
    }
}

void TestMethodologyFingerprint::canonicalTextWritesValuesExactly_data() {
    QTest::addColumn<QString>("line");
    QTest::newRow("double index") << "planningYears[1].index=1.262";
    QTest::newRow("single index as its double") << "planningYears[2].index=1.3420000076293945";
    QTest::newRow("precision flag") << "planningYears[2].singlePrecision=1";
    QTest::newRow("payroll default") << "payrollDefaults.minTeacherSalary=8700";
    QTest::newRow("float") << "education.monthlyShare=0.12149407";
    QTest::newRow("double") << "maintenance.electricityTaxShare=0.1";
    QTest::newRow("weight") << "weights.E1.orientation[6]=7.154225";
    QTest::newRow("no stay weights") << "weights.M2.stay=none";
    QTest::newRow("more than 30 groups") << "groupCountCoefficients.moreThan30=0.35849357";
    QTest::newRow("service item") << "serviceItemBase[8]=3564.1536";
    QTest::newRow("total row") << "positions[13].defaultSalary=0";
    QTest::newRow("salary coefficient") << "positions[15].salaryCoefficient=3.4418824";
    QTest::newRow("staff row") << "staffWeights[6].row=14";
    QTest::newRow("currency flag") << "staffWeights[1].currencyOrientation=1";
    QTest::newRow("administrative") << "administrativeStaff[11].fromGroups=28";
    QTest::newRow("administrative unit") << "administrativeStaff[2].units[2]=0.5";
}

void TestMethodologyFingerprint::canonicalTextWritesValuesExactly() {
    QFETCH(QString, line);
    const QStringList lines =
        canonicalMethodologyText(*Methodology::example()).split(QLatin1Char('\n'));
    QVERIFY2(lines.contains(line), qPrintable(line));
}

void TestMethodologyFingerprint::everyValueChangesTheFingerprint() {
    const Methodology& example = *Methodology::example();
    const QString fingerprint = methodologyFingerprint(example);
    QSet<QString> seen{fingerprint};
    const std::vector<Change> changes = everyValueChange();
    QVERIFY(changes.size() > 400);
    for (const Change& change : changes) {
        Methodology m = example;
        change.apply(m);
        QVERIFY2(!(m == example), qPrintable(change.what));
        const QString changedFingerprint = methodologyFingerprint(m);
        QVERIFY2(!seen.contains(changedFingerprint), qPrintable(change.what));
        seen.insert(changedFingerprint);
    }
}

void TestMethodologyFingerprint::nameAndNoteDoNot() {
    Methodology m = *Methodology::example();
    m.name = QStringLiteral("Методика района");
    m.note = QString();
    QCOMPARE(methodologyFingerprint(m), methodologyFingerprint(*Methodology::example()));
}

QTEST_GUILESS_MAIN(TestMethodologyFingerprint)
#include "test_methodologyfingerprint.moc"
