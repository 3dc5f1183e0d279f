#include "closeguard.h"
#include "form0.h"
#include "guitest.h"
#include "infowindows.h"
#include "planningyears.h"
#include "program.h"
#include "steptexts.h"
#include "store.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

using namespace normativ;
using namespace normativ::test;

class TestForm0Start : public QObject {
    Q_OBJECT
  private slots:
    void init();
    void cleanup();
    void welcomeOpensMainWindow();
    void closingWelcomeEndsProgram();
    void startScreenLayout();
    void startRefusals_data();
    void startRefusals();
    void startCopiesChoices_data();
    void startCopiesChoices();
    void enterOnStartButtonStartsWithChecks();
    void informationWindowsDisableMainWindow_data();
    void informationWindowsDisableMainWindow();
    void closingMainWindowEndsProgram();
    void closingOtherWindowsKeepsProgramRunning();
    void notANumberHint();

  private:
    std::unique_ptr<Program> program_;
    QWidget* form0() { return &program_->mainWindow(); }
    void startWith(const QString& institution, int yearIndex, bool payroll, bool services);
};

void TestForm0Start::init() {
    resetEndProgramRequests();
    program_ = std::make_unique<Program>(QLocale(QLocale::Russian, QLocale::Russia));
    program_->start();
    QTest::mouseClick(control<QPushButton>(&program_->welcomeWindow(), "Command1"), Qt::LeftButton);
}

void TestForm0Start::cleanup() {
    program_.reset();
}

void TestForm0Start::startWith(const QString& institution, int yearIndex, bool payroll,
                               bool services) {
    auto* combo1 = control<QComboBox>(form0(), "Combo1");
    combo1->setFocus();
    typeText(combo1->lineEdit(), institution);
    control<QComboBox>(form0(), "Combo2")->setCurrentIndex(yearIndex);
    control<QCheckBox>(form0(), "Check1")->setChecked(payroll);
    control<QCheckBox>(form0(), "Check2")->setChecked(services);
    QTest::mouseClick(control<QPushButton>(form0(), "CommandButton3"), Qt::LeftButton);
}

void TestForm0Start::welcomeOpensMainWindow() {
    Form8& welcome = program_->welcomeWindow();
    QCOMPARE(welcome.objectName(), QStringLiteral("Form8"));
    QCOMPARE(welcome.windowTitle(), QStringLiteral("Здравствуйте!"));
    QCOMPARE(control<QPushButton>(&welcome, "Command1")->text(),
             QStringLiteral("Приступить к работе"));
    QVERIFY(control<QLabel>(&welcome, "Label4")->text().endsWith(QStringLiteral("example.org")));
    QVERIFY(!welcome.isVisible());
    QVERIFY(form0()->isVisible());
    QCOMPARE(endProgramRequests(), 0);
    saveShot(&welcome, QStringLiteral("Form8"));
}

void TestForm0Start::closingWelcomeEndsProgram() {
    Program fresh(QLocale(QLocale::Russian));
    fresh.start();
    fresh.welcomeWindow().close();
    QCOMPARE(endProgramRequests(), 1);
    QVERIFY(!fresh.mainWindow().isVisible());
}

void TestForm0Start::startScreenLayout() {
    QCOMPARE(
        form0()->windowTitle(),
        QStringLiteral("Расчет норматива финансирования услуг по обучению и содержанию в ДОУ"));
    auto* combo1 = control<QComboBox>(form0(), "Combo1");
    QCOMPARE(combo1->count(), 511);
    QCOMPARE(combo1->itemText(0), QStringLiteral("дошкольное образовательное учреждение №1"));
    QCOMPARE(combo1->itemText(510), QStringLiteral("дошкольное образовательное учреждение №511"));
    QVERIFY(combo1->currentText().isEmpty());
    auto* combo2 = control<QComboBox>(form0(), "Combo2");
    QVERIFY(!combo2->isEditable());
    QCOMPARE(combo2->count(), 3);
    QVERIFY(combo2->currentText().isEmpty());
    QCOMPARE(control<QPushButton>(form0(), "CommandButton3")->text(),
             QStringLiteral("Начать работу с программой   без использования сохраненных данных"));
    for (const char* name :
         {"Label18", "Label15", "Label16", "Command4", "Check1", "Check2", "Command3", "Command5"})
        QVERIFY2(control<QWidget>(form0(), name)->isVisible(), name);
    for (const char* name : {"Label17", "Label1", "Label2", "TextBox1", "Option1", "Option2",
                             "Option3", "CommandButton1", "CommandButton2", "Command1", "Text1",
                             "Text6", "Label3", "Label14", "Command2", "Command6"})
        QVERIFY2(!control<QWidget>(form0(), name)->isVisible(), name);
    QVERIFY(!control<QCheckBox>(form0(), "Check1")->isChecked());
    QVERIFY(!control<QCheckBox>(form0(), "Check2")->isChecked());
    saveShot(form0(), QStringLiteral("Form0-start"));
}

void TestForm0Start::startRefusals_data() {
    QTest::addColumn<QString>("institution");
    QTest::addColumn<int>("year");
    QTest::addColumn<QString>("message");
    QTest::newRow("no institution")
        << QString() << 1 << "Не выбрано дошкольное образовательное учреждение";
    QTest::newRow("no year") << "ДОУ Солнышко" << -1
                             << "Не выбран год на который формируется задание";
    QTest::newRow("neither: institution first")
        << QString() << -1 << "Не выбрано дошкольное образовательное учреждение";
}

void TestForm0Start::startRefusals() {
    QFETCH(QString, institution);
    QFETCH(int, year);
    QFETCH(QString, message);
    startWith(institution, year, true, true);
    auto* label17 = control<QLabel>(form0(), "Label17");
    QVERIFY(label17->isVisible());
    QCOMPARE(label17->text(), message);
    QCOMPARE(label17->palette().color(QPalette::WindowText), QColor(Qt::red));
    const InstitutionRecord& record = program_->store().record;
    QVERIFY(record.institutionName.isEmpty());
    QVERIFY(record.useOwnPayrollData.isEmpty());
    QCOMPARE(record.wizardStep, 0);
    QVERIFY(control<QWidget>(form0(), "CommandButton3")->isVisible());
    saveShot(form0(), QStringLiteral("Form0-start-error"));
}

void TestForm0Start::startCopiesChoices_data() {
    QTest::addColumn<QString>("institution");
    QTest::addColumn<int>("year");
    QTest::addColumn<bool>("payroll");
    QTest::addColumn<bool>("services");
    QTest::newRow("typed name, payroll only") << "ДОУ «Ромашка»" << 1 << true << false;
    QTest::newRow("services only")
        << "дошкольное образовательное учреждение №7" << 0 << false << true;
    QTest::newRow("neither mode") << "Детский сад №3" << 2 << false << false;
}

void TestForm0Start::startCopiesChoices() {
    QFETCH(QString, institution);
    QFETCH(int, year);
    QFETCH(bool, payroll);
    QFETCH(bool, services);
    startWith(institution, year, payroll, services);
    const InstitutionRecord& record = program_->store().record;
    QCOMPARE(record.institutionName, FieldValue::text(institution));
    QCOMPARE(record.planningYear,
             FieldValue::text(planningYearTexts(*program_->store().methodology)[year]));
    QCOMPARE(record.useOwnPayrollData, FieldValue::integer(payroll ? 1 : 0));
    QCOMPARE(record.useOwnServicesData, FieldValue::integer(services ? 1 : 0));
    QCOMPARE(record.wizardStep, 1);
    QCOMPARE(program_->store().distribution.recordCount, FieldValue::integer(1));

    QCOMPARE(control<QLabel>(form0(), "Label1")->text(),
             QStringLiteral("Введите количество воспитанников ДОУ"));
    QCOMPARE(control<QLabel>(form0(), "Label2")->text(), QStringLiteral("человек"));
    auto* box = control<QLineEdit>(form0(), "TextBox1");
    QVERIFY(box->isVisible() && box->isEnabled());
    QCOMPARE(form0()->focusWidget(), box);
    QVERIFY(!control<QPushButton>(form0(), "CommandButton2")->isEnabled());
    for (const char* name : {"CommandButton1", "CommandButton2", "Command1", "Label1", "Label2"})
        QVERIFY2(control<QWidget>(form0(), name)->isVisible(), name);
    for (const char* name : {"Label18", "Label15", "Label16", "Label17", "Combo1", "Combo2",
                             "Command4", "CommandButton3", "Check1", "Check2", "Command3",
                             "Command5", "Option1", "Option2", "Option3"})
        QVERIFY2(!control<QWidget>(form0(), name)->isVisible(), name);
    saveShot(form0(), QStringLiteral("Form0-step1"));
}

void TestForm0Start::enterOnStartButtonStartsWithChecks() {
    auto* start = control<QPushButton>(form0(), "CommandButton3");
    start->setFocus();
    pressEnter(start);
    // The checks run as on a click: nothing starts without an institution and a year.
    QCOMPARE(control<QLabel>(form0(), "Label17")->text(),
             QStringLiteral("Не выбрано дошкольное образовательное учреждение"));
    QCOMPARE(program_->store().record.wizardStep, 0);
    QVERIFY(start->isVisible());

    typeText(control<QComboBox>(form0(), "Combo1")->lineEdit(), QStringLiteral("ДОУ №5"));
    control<QComboBox>(form0(), "Combo2")->setCurrentIndex(0);
    control<QCheckBox>(form0(), "Check2")->setChecked(true);
    start->setFocus();
    QTest::keyClick(start, Qt::Key_Escape);  // other keys do nothing
    QCOMPARE(program_->store().record.wizardStep, 0);
    pressEnter(start);
    const InstitutionRecord& record = program_->store().record;
    QCOMPARE(record.wizardStep, 1);
    QCOMPARE(record.institutionName, FieldValue::text(QStringLiteral("ДОУ №5")));
    QCOMPARE(record.planningYear, FieldValue::text(QStringLiteral("2010")));
    QCOMPARE(record.useOwnServicesData, FieldValue::integer(1));
    QVERIFY(!control<QWidget>(form0(), "Label18")->isVisible());
    QVERIFY(!control<QWidget>(form0(), "Label17")->isVisible());
    QVERIFY(control<QWidget>(form0(), "Command1")->isVisible());
}

void TestForm0Start::informationWindowsDisableMainWindow_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<bool>("byCloseBox");
    QTest::newRow("payroll, Закрыть")
        << "Command3"
        << "Form4"
        << "Информация по использованию данных по оплате труда" << false;
    QTest::newRow("payroll, close box")
        << "Command3"
        << "Form4"
        << "Информация по использованию данных по оплате труда" << true;
    QTest::newRow("services, Закрыть")
        << "Command5"
        << "Form5"
        << "Информация по использованию затрат на приобретение услуг отдельного ДОУ" << false;
    QTest::newRow("services, close box")
        << "Command5"
        << "Form5"
        << "Информация по использованию затрат на приобретение услуг отдельного ДОУ" << true;
}

void TestForm0Start::informationWindowsDisableMainWindow() {
    QFETCH(QString, button);
    QFETCH(QString, window);
    QFETCH(QString, caption);
    QFETCH(bool, byCloseBox);
    QTest::mouseClick(control<QPushButton>(form0(), button.toLatin1().constData()), Qt::LeftButton);
    QWidget* info = topLevel(window);
    QVERIFY(info);
    QVERIFY(info->isVisible());
    QCOMPARE(info->windowTitle(), caption);
    QVERIFY(!form0()->isEnabled());
    saveShot(info, window);
    if (byCloseBox)
        info->close();
    else
        QTest::mouseClick(control<QPushButton>(info, "Command1"), Qt::LeftButton);
    QVERIFY(!info->isVisible());
    QVERIFY(form0()->isEnabled());
    QCOMPARE(endProgramRequests(), 0);
}

void TestForm0Start::closingMainWindowEndsProgram() {
    startWith(QStringLiteral("ДОУ"), 1, false, false);
    form0()->close();
    QCOMPARE(endProgramRequests(), 1);
}

void TestForm0Start::closingOtherWindowsKeepsProgramRunning() {
    // The application ends when its last visible window closes: every window that hands
    // back to the main window must show it before it is gone.
    QSignalSpy lastClosed(qApp, &QGuiApplication::lastWindowClosed);
    QTest::mouseClick(control<QPushButton>(form0(), "Command4"), Qt::LeftButton);
    QWidget* loader = topLevel(QStringLiteral("Form3"));
    QVERIFY(loader && loader->isVisible());
    QVERIFY(!form0()->isVisible());
    loader->close();
    QVERIFY(form0()->isVisible());
    QTest::mouseClick(control<QPushButton>(form0(), "Command3"), Qt::LeftButton);
    topLevel(QStringLiteral("Form4"))->close();
    QCOMPARE(lastClosed.count(), 0);
    QCOMPARE(endProgramRequests(), 0);
}

// While the answer box holds text that is not a number in the user's locale (a Russian
// one here: a decimal comma), the red hint under it says so; the answer is still kept
// as not entered. Empty, a number, or a choice step: no hint.
void TestForm0Start::notANumberHint() {
    startWith(QStringLiteral("Детский сад"), 0, false, false);
    auto* box = control<QLineEdit>(form0(), "TextBox1");
    auto* hint = control<QLabel>(form0(), "Label22");
    const std::pair<const char*, bool> cases[] = {{"12.5", true},  {"12,5", false}, {"", false},
                                                  {"сорок", true}, {"45", false},   {"4 5x", true},
                                                  {"  ", false}};
    for (const auto& [typed, shown] : cases) {
        retype(box, QString::fromUtf8(typed));
        QVERIFY2(hint->isVisible() == shown, typed);
    }
    QCOMPARE(hint->text(),
             QStringLiteral("не число — ответ не будет учтен; дробную часть отделяйте запятой"));
    retype(box, QStringLiteral("12.5"));
    QVERIFY(hint->isVisible());
    saveShot(form0(), QStringLiteral("Form0-hint"));
    pressEnter(box);
    const Store& store = program_->store();
    QVERIFY(store.record[Answer::PupilCount].isNotEnteredMarker(store.locale));
    QVERIFY(!hint->isVisible());
}

QTEST_MAIN(TestForm0Start)
#include "test_form0_start.moc"
