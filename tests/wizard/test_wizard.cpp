#include "closeguard.h"
#include "distributionwindows.h"
#include "form0.h"
#include "guitest.h"
#include "infowindows.h"
#include "numbers.h"
#include "program.h"
#include "steptexts.h"
#include "workbookwalk.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

using namespace normativ;
using namespace normativ::test;

/// Walks the question wizard through the real windows, as a user would.
class TestWizard : public QObject {
    Q_OBJECT
  private slots:
    void init();
    void cleanup();
    void wholeWizard_data();
    void wholeWizard();
    void flowMatchesCommandLine_data();
    void flowMatchesCommandLine();
    void enterBehavesLikeNext();
    void enterDoesNothingWhereNextDoesNot();
    void choiceStepsWithoutSelectionKeepFlags();
    void backwardKeepsTypedAnswers();
    void backwardJumps_data();
    void backwardJumps();
    void distributionReturnsToKindStep();
    void help();
    void estimatesFromResults();

  private:
    std::unique_ptr<Program> program_;
    Store& store() { return program_->store(); }
    QWidget* form0() { return &program_->mainWindow(); }
    QWidget* form9() { return topLevel(QStringLiteral("Form9")); }
    QWidget* form10() { return topLevel(QStringLiteral("Form10")); }
    QLineEdit* answerBox() { return control<QLineEdit>(form0(), "TextBox1"); }
    QString question() { return control<QLabel>(form0(), "Label1")->text(); }
    QString unit() { return control<QLabel>(form0(), "Label2")->text(); }
    QRadioButton* option(int n) {
        const QByteArray name = "Option" + QByteArray::number(n);
        return control<QRadioButton>(form0(), name.constData());
    }
    void start(bool payroll, bool services);
    void next() {
        QTest::mouseClick(control<QPushButton>(form0(), "CommandButton1"), Qt::LeftButton);
    }
    void back() {
        QTest::mouseClick(control<QPushButton>(form0(), "CommandButton2"), Qt::LeftButton);
    }
    void answer(const QString& text) {
        retype(answerBox(), text);
        next();
    }
    void choose(int n) {
        QTest::mouseClick(option(n), Qt::LeftButton);
        next();
    }
    /// Fills the editor's one record and finishes the distribution.
    void distribute(const QString& pupils);
    void answerUpToResult(bool payroll, bool services);
};

void TestWizard::init() {
    resetEndProgramRequests();
    program_ = std::make_unique<Program>(QLocale(QLocale::Russian, QLocale::Russia));
    program_->start();
    QTest::mouseClick(control<QPushButton>(&program_->welcomeWindow(), "Command1"), Qt::LeftButton);
}

void TestWizard::cleanup() {
    program_.reset();
}

void TestWizard::start(bool payroll, bool services) {
    typeText(control<QComboBox>(form0(), "Combo1")->lineEdit(), QStringLiteral("ДОУ №12"));
    control<QComboBox>(form0(), "Combo2")->setCurrentIndex(1);
    control<QCheckBox>(form0(), "Check1")->setChecked(payroll);
    control<QCheckBox>(form0(), "Check2")->setChecked(services);
    QTest::mouseClick(control<QPushButton>(form0(), "CommandButton3"), Qt::LeftButton);
}

void TestWizard::distribute(const QString& pupils) {
    QWidget* editor = form10();
    QVERIFY(editor && editor->isVisible());
    control<QComboBox>(editor, "Combo1")->setCurrentIndex(2);
    control<QComboBox>(editor, "Combo2")->setCurrentIndex(6);
    control<QComboBox>(editor, "Combo3")->setCurrentIndex(0);
    retype(control<QLineEdit>(editor, "Text1"), pupils);
    QTest::mouseClick(control<QPushButton>(editor, "Command1"), Qt::LeftButton);
}

void TestWizard::answerUpToResult(bool payroll, bool services) {
    start(payroll, services);
    answer(QStringLiteral("20"));
    answer(QStringLiteral("1"));
    choose(2);
    choose(3);
    QTest::mouseClick(control<QPushButton>(form9(), "Command1"), Qt::LeftButton);
    distribute(QStringLiteral("20"));
    while (store().record.wizardStep < Step::kWorkWeek) answer(QStringLiteral("1"));
    choose(1);
}

// The result boxes come from tests/calc/derive_expected.py --wizard, written from the
// calculation rules apart from this code.
void TestWizard::wholeWizard_data() {
    QTest::addColumn<bool>("payroll");
    QTest::addColumn<bool>("services");
    QTest::addColumn<QStringList>("results");
    QTest::newRow("standard figures")
        << false << false
        << QStringList{"49412", "107245", "156657", "988249", "2144900", "3133149"};
    QTest::newRow("own payroll") << true << false
                                 << QStringList{"-62891",   "-94723",   "-157614",
                                                "-1257826", "-1894460", "-3152286"};
    QTest::newRow("own services") << false << true << QStringList{"49412",  "66081",   "115493",
                                                                  "988249", "1321620", "2309869"};
    QTest::newRow("own payroll and services")
        << true << true
        << QStringList{"-62891", "-135887", "-198778", "-1257826", "-2717740", "-3975566"};
}

void TestWizard::wholeWizard() {
    QFETCH(bool, payroll);
    QFETCH(bool, services);
    QFETCH(QStringList, results);
    start(payroll, services);
    const InstitutionRecord& record = store().record;

    answer(QStringLiteral("20"));
    QCOMPARE(record.wizardStep, 2);
    QCOMPARE(record[Answer::PupilCount], FieldValue::text(QStringLiteral("20")));
    QCOMPARE(question(), wizard::stepTexts(2).question);
    QCOMPARE(unit(), QStringLiteral("групп"));
    QVERIFY(control<QPushButton>(form0(), "CommandButton2")->isEnabled());

    answer(QStringLiteral("1"));
    QCOMPARE(record.wizardStep, 3);
    QVERIFY(!answerBox()->isVisible());
    QVERIFY(!control<QLabel>(form0(), "Label2")->isVisible());
    QCOMPARE(option(1)->text(), QStringLiteral("село"));
    QCOMPARE(option(2)->text(), QStringLiteral("город"));
    QVERIFY(!option(3)->isVisible());
    saveShot(form0(), QStringLiteral("Form0-step3"));

    choose(1);
    QCOMPARE(record[Flag::SettlementIsVillage], FieldValue::integer(1));
    QCOMPARE(record[Flag::SettlementIsCity], FieldValue::integer(0));
    QCOMPARE(record.wizardStep, 4);
    QVERIFY(option(3)->isVisible());
    QCOMPARE(option(3)->text(), QStringLiteral("Иной тип учреждения"));

    choose(2);
    QCOMPARE(record[Flag::KindDevelopmentCentre], FieldValue::integer(1));
    QCOMPARE(record.wizardStep, 4);
    QVERIFY(!form0()->isVisible());
    QVERIFY(form9()->isVisible());

    QTest::mouseClick(control<QPushButton>(form9(), "Command1"), Qt::LeftButton);
    QVERIFY(form10()->isVisible());
    QCOMPARE(record.wizardStep, payroll ? 21 : 25);
    if (!payroll) QCOMPARE(record[Answer::MinTeacherSalary], FieldValue::single(8700.0f));
    distribute(QStringLiteral("20"));
    QVERIFY(form0()->isVisible());
    QVERIFY(!form10()->isVisible());

    if (payroll) {
        QCOMPARE(question(), wizard::minimumSalaryQuestion());
        for (int step = 21; step <= 24; ++step) {
            QCOMPARE(record.wizardStep, step);
            answer(QString::number(step * 1000));
        }
        QCOMPARE(record[Answer::TeacherIncentiveFund], FieldValue::text(QStringLiteral("24000")));
        // Going back to 21 words the question for a village institution.
        back();
        back();
        back();
        back();
        QCOMPARE(record.wizardStep, 21);
        QCOMPARE(question(), wizard::villageSalaryQuestion());
        QCOMPARE(answerBox()->text(), QStringLiteral("21000"));
        for (int step = 21; step <= 24; ++step) next();
    }
    QCOMPARE(record.wizardStep, 25);
    QCOMPARE(question(), QStringLiteral("Введите количество месяцев работы ДОУ в году"));
    answer(QStringLiteral("12"));
    if (services) {
        for (int step = 26; step <= 53; ++step) {
            QCOMPARE(record.wizardStep, step);
            QCOMPARE(question(), wizard::stepTexts(step).question);
            QCOMPARE(unit(), wizard::stepTexts(step).unit);
            QVERIFY(answerBox()->text().isEmpty());
            answer(QStringLiteral("%1,5").arg(step));
        }
        QCOMPARE(record[Answer::LandTaxRate], FieldValue::text(QStringLiteral("53,5")));
    } else {
        QVERIFY(record[Answer::ColdWaterVolume].isEmpty());
    }
    QCOMPARE(record.wizardStep, 54);
    answer(QStringLiteral("1500"));
    QCOMPARE(record.wizardStep, 55);
    QCOMPARE(option(1)->text(), QStringLiteral("5-ти дневная неделя"));
    choose(1);
    QCOMPARE(record[Flag::FiveDayWeek], FieldValue::integer(1));
    QCOMPARE(record.wizardStep, 56);

    // The result step: the result area replaces the question area.
    QVERIFY(!control<QPushButton>(form0(), "CommandButton1")->isEnabled());
    QVERIFY(control<QPushButton>(form0(), "CommandButton2")->isEnabled());
    for (const char* name : {"Command1", "Label1", "Label2", "TextBox1", "Option1"})
        QVERIFY2(!control<QWidget>(form0(), name)->isVisible(), name);
    for (int box = 1; box <= 6; ++box) {
        const QByteArray name = "Text" + QByteArray::number(box);
        auto* text = control<QLineEdit>(form0(), name.constData());
        QVERIFY(text->isVisible());
        QVERIFY2(isNumericText(text->text(), store().locale), qPrintable(text->text()));
        QCOMPARE(text->text(), results[box - 1]);
    }
    QVERIFY(control<QWidget>(form0(), "Command2")->isVisible());
    QVERIFY(control<QWidget>(form0(), "Command6")->isVisible());
    saveShot(form0(), QStringLiteral("Form0-result"));

    // Back from the results: the week choice returns with the stored option.
    back();
    QCOMPARE(record.wizardStep, 55);
    QVERIFY(option(1)->isChecked());
    QVERIFY(!control<QWidget>(form0(), "Command2")->isVisible());
    QVERIFY(!control<QWidget>(form0(), "Text1")->isVisible());
    QVERIFY(control<QPushButton>(form0(), "CommandButton1")->isEnabled());
    back();
    QCOMPARE(record.wizardStep, 54);
    QCOMPARE(answerBox()->text(), QStringLiteral("1500"));
    back();
    QCOMPARE(record.wizardStep, services ? 53 : 25);
    QCOMPARE(answerBox()->text(), services ? QStringLiteral("53,5") : QStringLiteral("12"));
}

void TestWizard::flowMatchesCommandLine_data() {
    QTest::addColumn<bool>("payroll");
    QTest::addColumn<bool>("services");
    // The steps after the distribution, the week choice included.
    QTest::addColumn<int>("afterDistribution");
    QTest::newRow("standard figures") << false << false << 3;
    QTest::newRow("own payroll") << true << false << 7;
    QTest::newRow("own services") << false << true << 31;
    QTest::newRow("own payroll and services") << true << true << 35;
}

// The window and normativ-calc's walk through a loaded workbook follow one flow: pressing
// "Далее" everywhere, both show the same steps in the same order.
void TestWizard::flowMatchesCommandLine() {
    QFETCH(bool, payroll);
    QFETCH(bool, services);
    QFETCH(int, afterDistribution);
    start(payroll, services);
    const InstitutionRecord& record = store().record;
    QList<int> window{record.wizardStep};
    while (record.wizardStep != Step::kResult) {
        if (isChoiceStep(record.wizardStep))
            choose(1);
        else
            answer(record.wizardStep == Step::kPupils ? QStringLiteral("20") : QStringLiteral("1"));
        if (form9() && form9()->isVisible()) {
            QTest::mouseClick(control<QPushButton>(form9(), "Command1"), Qt::LeftButton);
            distribute(QStringLiteral("20"));
        }
        QVERIFY(form0()->isVisible());
        window << record.wizardStep;
    }

    Store walked = store();
    QList<int> commandLine;
    QVERIFY(!walkWizardAfterLoad(walked, [&](int step) { commandLine << step; }));
    QCOMPARE(commandLine, window);
    QCOMPARE(window.size(), 4 + afterDistribution + 1);
    QCOMPARE(window.mid(0, 4), (QList<int>{1, 2, 3, 4}));
    QCOMPARE(window.mid(window.size() - 2), (QList<int>{55, 56}));
    // The steps between the distribution and the week are the answers the descriptors say
    // these modes ask.
    QList<int> asked;
    for (const AnswerDescriptor& info : answerTable()) {
        if (info.step >= Step::kFirstPayroll && isAsked(info.askedWhen, payroll, services))
            asked << info.step;
    }
    QCOMPARE(window.mid(4, window.size() - 6), asked);
}

void TestWizard::enterBehavesLikeNext() {
    start(false, false);
    retype(answerBox(), QStringLiteral("сто"));
    pressEnter(answerBox());
    QCOMPARE(store().record.wizardStep, 2);
    QVERIFY(store().record[Answer::PupilCount].isNotEnteredMarker(store().locale));
    retype(answerBox(), QStringLiteral("-3"));
    pressEnter(answerBox());
    QCOMPARE(store().record[Answer::GroupCount], FieldValue::text(QStringLiteral("-3")));
    // At a choice step the focus is on an option, and Enter there moves on as well.
    QCOMPARE(form0()->focusWidget(), option(1));
    option(2)->click();
    pressEnter(option(2));
    QCOMPARE(store().record[Flag::SettlementIsCity], FieldValue::integer(1));
    QCOMPARE(store().record.wizardStep, 4);
    pressEnter(form0()->focusWidget());
    QVERIFY(form9()->isVisible());
    QVERIFY(!form0()->isVisible());
    QCOMPARE(store().record.wizardStep, 4);
    // Back to step 1: the marker is never shown.
    QTest::mouseClick(control<QPushButton>(form9(), "CommandButton2"), Qt::LeftButton);
    back();
    back();
    back();
    QCOMPARE(store().record.wizardStep, 1);
    QVERIFY(answerBox()->text().isEmpty());
    QVERIFY(!control<QPushButton>(form0(), "CommandButton2")->isEnabled());
}

// Enter sent to the answer box on the start screen or at the results moves nowhere.
void TestWizard::enterDoesNothingWhereNextDoesNot() {
    const int before = store().record.wizardStep;
    pressEnter(answerBox());
    QCOMPARE(store().record.wizardStep, before);
    QVERIFY(control<QPushButton>(form0(), "CommandButton3")->isVisible());
    answerUpToResult(false, false);
    QCOMPARE(store().record.wizardStep, Step::kResult);
    const QString shown = control<QLineEdit>(form0(), "Text1")->text();
    pressEnter(answerBox());
    QCOMPARE(store().record.wizardStep, Step::kResult);
    QCOMPARE(control<QLineEdit>(form0(), "Text1")->text(), shown);
    QVERIFY(!control<QPushButton>(form0(), "CommandButton1")->isEnabled());
}

void TestWizard::choiceStepsWithoutSelectionKeepFlags() {
    start(false, false);
    answer(QStringLiteral("20"));
    answer(QStringLiteral("2"));
    next();  // step 3, nothing chosen
    QCOMPARE(store().record.wizardStep, 4);
    QVERIFY(store().record[Flag::SettlementIsVillage].isEmpty());
    QVERIFY(store().record[Flag::SettlementIsCity].isEmpty());
    back();
    QVERIFY(!option(1)->isChecked() && !option(2)->isChecked());
}

void TestWizard::backwardKeepsTypedAnswers() {
    start(false, false);
    answer(QStringLiteral("20"));
    retype(answerBox(), QStringLiteral("4"));
    back();
    QCOMPARE(store().record[Answer::GroupCount], FieldValue::text(QStringLiteral("4")));
    QCOMPARE(answerBox()->text(), QStringLiteral("20"));
    QCOMPARE(question(), wizard::stepTexts(1).question);
    // The focus is not moved by a backward step.
    next();
    QCOMPARE(answerBox()->text(), QStringLiteral("4"));
}

void TestWizard::backwardJumps_data() {
    QTest::addColumn<bool>("payroll");
    QTest::addColumn<bool>("services");
    QTest::newRow("standard figures") << false << false;
    QTest::newRow("own payroll and services") << true << true;
}

void TestWizard::backwardJumps() {
    QFETCH(bool, payroll);
    QFETCH(bool, services);
    answerUpToResult(payroll, services);
    InstitutionRecord& record = store().record;
    QCOMPARE(record.wizardStep, 56);
    back();
    back();
    QCOMPARE(record.wizardStep, 54);
    if (services) {
        back();
        QCOMPARE(record.wizardStep, 53);
        while (record.wizardStep > 25) back();
    } else {
        back();
    }
    QCOMPARE(record.wizardStep, 25);
    QVERIFY(form0()->isVisible());
    if (payroll) {
        back();
        QCOMPARE(record.wizardStep, 24);
        back();
        back();
        back();
        QCOMPARE(record.wizardStep, 21);
        QCOMPARE(question(), wizard::stepTexts(21).question);
    }
    // What stands in the answer box is kept; without own figures the defaults win.
    if (payroll)
        retype(answerBox(), QStringLiteral("9999"));
    else
        record[Answer::MinTeacherSalary] = FieldValue::text(QStringLiteral("9999"));
    back();  // 21 with own figures, 25 without: the editor reopens as it was left
    QCOMPARE(record.wizardStep, payroll ? 21 : 25);
    QVERIFY(!form0()->isVisible());
    QVERIFY(form10()->isVisible());
    if (!payroll) QCOMPARE(record[Answer::MinTeacherSalary], FieldValue::single(8700.0f));
    QTest::mouseClick(control<QPushButton>(form10(), "Command1"), Qt::LeftButton);
    QVERIFY(form0()->isVisible());
    QCOMPARE(record.wizardStep, payroll ? 21 : 25);
    QCOMPARE(answerBox()->text(), payroll ? QStringLiteral("9999") : QStringLiteral("1"));
}

void TestWizard::distributionReturnsToKindStep() {
    start(true, false);
    answer(QStringLiteral("20"));
    answer(QStringLiteral("1"));
    choose(1);
    choose(2);
    QTest::mouseClick(control<QPushButton>(form9(), "CommandButton2"), Qt::LeftButton);
    QVERIFY(form0()->isVisible());
    QCOMPARE(store().record.wizardStep, 4);
    QVERIFY(option(2)->isChecked());
    QCOMPARE(form0()->focusWidget(), option(2));
    QVERIFY(!answerBox()->isVisible());
    choose(3);
    QTest::mouseClick(control<QPushButton>(form9(), "Command1"), Qt::LeftButton);
    QTest::mouseClick(control<QPushButton>(form10(), "Command3"), Qt::LeftButton);
    QVERIFY(form0()->isVisible());
    QCOMPARE(store().record.wizardStep, 4);
    QVERIFY(option(3)->isChecked());
    QCOMPARE(form0()->focusWidget(), option(3));
    QCOMPARE(question(), wizard::stepTexts(4).question);
}

void TestWizard::help() {
    start(true, true);
    auto* helpButton = control<QPushButton>(form0(), "Command1");
    QTest::mouseClick(helpButton, Qt::LeftButton);
    QWidget* help = topLevel(QStringLiteral("Form2"));
    QVERIFY(help && help->isVisible());
    QCOMPARE(help->windowTitle(), QStringLiteral("Справка"));
    auto* text = control<QLabel>(help, "Label1");
    QCOMPARE(text->text(), wizard::stepTexts(1).help);
    saveShot(help, QStringLiteral("Form2"));
    answer(QStringLiteral("20"));
    QCOMPARE(text->text(), wizard::stepTexts(1).help);  // set only on "справка"
    QTest::mouseClick(helpButton, Qt::LeftButton);
    QCOMPARE(text->text(), wizard::stepTexts(2).help);
    const QWidgetList windows = QApplication::topLevelWidgets();
    QCOMPARE(std::count_if(windows.cbegin(), windows.cend(),
                           [](QWidget* w) { return w->objectName() == "Form2"; }),
             1);
    QTest::mouseClick(control<QPushButton>(help, "Command1"), Qt::LeftButton);
    QVERIFY(!help->isVisible());

    // Same texts for 40/41 and for the tariffs; the repair cost has its own.
    QCOMPARE(wizard::stepTexts(40).help, wizard::stepTexts(41).help);
    for (int step = 46; step <= 50; ++step)
        QCOMPARE(wizard::stepTexts(step).help, wizard::stepTexts(45).help);
    QVERIFY(!wizard::stepTexts(51).help.isEmpty());
    QVERIFY(wizard::stepTexts(51).help != wizard::stepTexts(50).help);

    // Step 21: the help follows the wording of the question shown.
    answer(QStringLiteral("1"));
    choose(2);
    choose(1);
    QTest::mouseClick(control<QPushButton>(form9(), "Command1"), Qt::LeftButton);
    distribute(QStringLiteral("20"));
    QTest::mouseClick(helpButton, Qt::LeftButton);
    QCOMPARE(text->text(), wizard::stepTexts(21).help);
    answer(QStringLiteral("9000"));
    back();
    QCOMPARE(question(), wizard::stepTexts(21).question);
    QTest::mouseClick(helpButton, Qt::LeftButton);
    QCOMPARE(text->text(), wizard::averageSalaryHelp());
}

void TestWizard::estimatesFromResults() {
    answerUpToResult(false, false);
    QTest::mouseClick(control<QPushButton>(form0(), "Command6"), Qt::LeftButton);
    QWidget* payroll = topLevel(QStringLiteral("Form6"));
    QVERIFY(payroll && payroll->isVisible());
    QVERIFY(!form0()->isEnabled());
    QVERIFY(isNumericText(control<QLineEdit>(payroll, "Text225")->text(), store().locale));
    QTest::mouseClick(control<QPushButton>(payroll, "Command1"), Qt::LeftButton);
    QVERIFY(!payroll->isVisible());
    QVERIFY(form0()->isEnabled());
}

QTEST_MAIN(TestWizard)
#include "test_wizard.moc"
