// The wizard walked with "Далее" after a workbook was loaded: each asked answer re-stored
// as the answer box stores it, the payroll defaults, the choices kept, and the
// distribution editor's finish checks.

#include "distributioncheck.h"
#include "fieldvalueprinting.h"
#include "workbookwalk.h"

#include <QtTest>

using namespace normativ;

Q_DECLARE_METATYPE(normativ::FieldValue)

namespace {

QLocale russian() {
    return QLocale(QLocale::Russian, QLocale::Russia);
}

/// A loaded record of 45 pupils in two complete records, modes as given.
Store loadedStore(bool ownPayroll, bool ownServices) {
    Store store(russian());
    store.record.useOwnPayrollData = FieldValue::integer(ownPayroll ? 1 : 0);
    store.record.useOwnServicesData = FieldValue::integer(ownServices ? 1 : 0);
    store.record[Answer::PupilCount] = FieldValue::number(45);
    store.record.setChoice(Flag::SettlementIsCity);
    store.record.setChoice(Flag::KindOther);
    store.record.setChoice(Flag::SixDayWeek);
    store.record.wizardStep = 1;
    const auto record = [&](int r, int age, int stay, int orientation, double pupils) {
        const std::pair<Kind, int> kinds[] = {
            {Kind::AgeClass, age}, {Kind::StayMode, stay}, {Kind::Orientation, orientation}};
        for (const auto& [kind, item] : kinds) {
            if (item > 0) store.distribution.storeKindText(r, kind, kindItemTexts(kind)[item - 1]);
        }
        store.distribution.setCell(r, Kind::GroupPupilCount, 1, *Currency::fromDouble(pupils));
    };
    record(1, 2, 5, 1, 20.5);
    record(2, 3, 7, 2, 24.5);
    store.distribution.recordCount = FieldValue::integer(2);
    return store;
}

}  // namespace

class TestWorkbookWalk : public QObject {
    Q_OBJECT

  private slots:
    void answersAsTheBoxStoresThem_data() {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("ownPayroll");
        QTest::addColumn<bool>("ownServices");
        QTest::addColumn<FieldValue>("loaded");
        QTest::addColumn<FieldValue>("walked");
        const auto row = [](const char* name, Answer a, bool payroll, bool services,
                            FieldValue loaded, FieldValue walked) {
            QTest::newRow(name) << int(a) << payroll << services << loaded << walked;
        };
        const auto text = [](const char* s) { return FieldValue::text(QString::fromUtf8(s)); };
        const FieldValue marker = FieldValue::notEntered();
        row("number shown and stored as typed", Answer::GroupCount, false, false,
            FieldValue::number(3), text("3"));
        row("fraction in the locale", Answer::MonthsOfOperation, false, false,
            FieldValue::number(11.5), text("11,5"));
        row("fifteen digits as shown", Answer::ParentFeePerMonth, false, false,
            FieldValue::number(0.1 + 0.2), text("0,3"));
        row("numeric text kept", Answer::ParentFeePerMonth, false, false, text("1 500,5"),
            text("1 500,5"));
        row("blank becomes the marker", Answer::GroupCount, false, false, FieldValue(), marker);
        row("text not a number becomes the marker", Answer::MonthsOfOperation, false, false,
            text("двенадцать"), marker);
        row("text in another locale's form becomes the marker", Answer::ParentFeePerMonth, false,
            false, text("1500.5"), marker);
        row("the marker stays", Answer::GroupCount, false, false, marker, marker);
        row("TRUE read as 1", Answer::GroupCount, false, false, FieldValue::integer(1), text("1"));
        row("payroll defaults without own payroll", Answer::MinTeacherSalary, false, false,
            FieldValue::number(15000.5), FieldValue::single(8700.0f));
        row("payroll default over a blank", Answer::TeacherCompensationFund, false, false,
            FieldValue(), FieldValue::single(2900.0f));
        row("own payroll asked", Answer::MinTeacherSalary, true, false, FieldValue::number(15000.5),
            text("15000,5"));
        row("own payroll blank becomes the marker", Answer::TeacherIncentiveFund, true, false,
            FieldValue(), marker);
        row("services not asked keep the loaded number", Answer::HeatTariff, false, false,
            FieldValue::number(1450.3), FieldValue::number(1450.3));
        row("services not asked keep a blank", Answer::HeatTariff, false, false, FieldValue(),
            FieldValue());
        row("services not asked keep a text", Answer::OtherCosts, false, false, text("нет"),
            text("нет"));
        row("own services asked", Answer::HeatTariff, false, true, FieldValue::number(1450.3),
            text("1450,3"));
        row("own services blank becomes the marker", Answer::LandTaxRate, false, true, FieldValue(),
            marker);
        row("months always asked", Answer::MonthsOfOperation, true, true, FieldValue(), marker);
        row("parental fee always asked", Answer::ParentFeePerMonth, true, true,
            FieldValue::number(1800), text("1800"));
    }

    void answersAsTheBoxStoresThem() {
        QFETCH(int, answer);
        QFETCH(bool, ownPayroll);
        QFETCH(bool, ownServices);
        QFETCH(FieldValue, loaded);
        QFETCH(FieldValue, walked);
        Store store = loadedStore(ownPayroll, ownServices);
        const Answer a = static_cast<Answer>(answer);
        store.record[a] = loaded;
        QCOMPARE(walkWizardAfterLoad(store), std::optional<QString>());
        QCOMPARE(store.record[a], walked);
        QCOMPARE(store.record.wizardStep, Step::kResult);
    }

    // The choices a load made are selected again and stored as they were; a group with no
    // flag set stays unset.
    void choicesKept() {
        Store store = loadedStore(false, false);
        store.record.flags[int(Flag::FiveDayWeek)] = FieldValue();
        store.record.flags[int(Flag::SixDayWeek)] = FieldValue();
        const auto flags = store.record.flags;
        QCOMPARE(walkWizardAfterLoad(store), std::optional<QString>());
        QCOMPARE(store.record.flags, flags);
    }

    void editorChecks_data() {
        QTest::addColumn<FieldValue>("pupilCount");
        QTest::addColumn<int>("missingKindOfRecord2");
        QTest::addColumn<double>("record2Pupils");
        QTest::addColumn<QString>("message");
        const FieldValue pupils = FieldValue::number(45);
        QTest::newRow("records add up") << pupils << 0 << 24.5 << QString();
        QTest::newRow("a record without its orientation")
            << pupils << int(Kind::Orientation) << 24.5
            << distributionCheckTexts().incompleteRecord;
        QTest::newRow("a record without its age")
            << pupils << int(Kind::AgeClass) << 24.5 << distributionCheckTexts().incompleteRecord;
        QTest::newRow("a record's pupils not entered")
            << pupils << 0 << 79265830346.0 << distributionCheckTexts().incompleteRecord;
        QTest::newRow("records above the pupil count")
            << pupils << 0 << 25.0 << distributionCheckTexts().totalAbovePupilCount;
        QTest::newRow("records below the pupil count")
            << pupils << 0 << 24.0 << distributionCheckTexts().totalBelowPupilCount;
        QTest::newRow("pupil count blank")
            << FieldValue() << 0 << 24.5 << distributionCheckTexts().pupilCountNotEntered;
        QTest::newRow("pupil count typed as text")
            << FieldValue::text(QStringLiteral("45")) << 0 << 24.5 << QString();
    }

    // The editor's finish, with its own messages; a refusal leaves the wizard short of the
    // result step.
    void editorChecks() {
        QFETCH(FieldValue, pupilCount);
        QFETCH(int, missingKindOfRecord2);
        QFETCH(double, record2Pupils);
        QFETCH(QString, message);
        Store store = loadedStore(false, false);
        store.record[Answer::PupilCount] = pupilCount;
        if (missingKindOfRecord2 != 0) {
            for (int i = 1; i <= kItemCount; ++i) {
                store.distribution.setCell(2, static_cast<Kind>(missingKindOfRecord2), i,
                                           Currency());
            }
        }
        store.distribution.setCell(2, Kind::GroupPupilCount, 1,
                                   *Currency::fromDouble(record2Pupils));
        const std::optional<QString> refusal = walkWizardAfterLoad(store);
        QCOMPARE(refusal.value_or(QString()), message);
        QCOMPARE(store.record.wizardStep == Step::kResult, message.isEmpty());
    }

    // The command line's run: a refused file gives the loader's message and reason and no
    // store; a good one a store at the result step with the modes given.
    void readWorkbookForCalculation() {
        const WorkbookRun refused = normativ::readWorkbookForCalculation(
            QByteArray("not a workbook"), true, false, russian());
        QVERIFY(!refused.store);
        QVERIFY(refused.refusal.startsWith(loaderTexts().wrongFile));
        QVERIFY(refused.refusal.size() > loaderTexts().wrongFile.size());

        QFile fixture(QStringLiteral(NORMATIV_FORMAT_FIXTURES "/statforms/statform.xlsx"));
        QVERIFY(fixture.open(QIODevice::ReadOnly));
        const WorkbookRun run =
            normativ::readWorkbookForCalculation(fixture.readAll(), true, false, russian());
        QVERIFY(run.store);
        QVERIFY(run.refusal.isEmpty());
        QVERIFY(run.editorMessage.isEmpty());
        QCOMPARE(run.store->record.wizardStep, Step::kResult);
        QCOMPARE(run.store->record.useOwnPayrollData, FieldValue::integer(1));
        QCOMPARE(run.store->record.useOwnServicesData, FieldValue::integer(0));
        QCOMPARE(run.store->record[Answer::PupilCount], FieldValue::text(QStringLiteral("120")));
        QCOMPARE(run.store->record[Answer::MinTeacherSalary],
                 FieldValue::text(QStringLiteral("15000,5")));
        QCOMPARE(run.store->record[Answer::HeatTariff], FieldValue::number(1450.3));
    }
};

QTEST_GUILESS_MAIN(TestWorkbookWalk)
#include "test_workbookwalk.moc"
