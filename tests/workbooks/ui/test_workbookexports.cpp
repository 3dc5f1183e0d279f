#include "closeguard.h"
#include "dialogs.h"
#include "form0.h"
#include "form3.h"
#include "guitest.h"
#include "infowindows.h"
#include "openworkbook.h"
#include "program.h"
#include "workbooksaver.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QWindow>
#include <QtTest>
#include <memory>

using namespace normativ;
using namespace normativ::test;

namespace {

QPushButton* button(QWidget* window, const char* name) {
    return control<QPushButton>(window, name);
}

void click(QWidget* window, const char* name) {
    QTest::mouseClick(button(window, name), Qt::LeftButton);
}

/// The workbook at `path` as our reader sees it.
std::optional<LoadedWorkbook> readBack(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    auto workbook = openWorkbook(file.readAll());
    if (!workbook) return std::nullopt;
    return std::move(workbook.value());
}

}  // namespace

/// "создать отчет" and "Сформировать сметы в формате Excel" of a real run, and loading
/// the written report back through the loading window.
class TestWorkbookExports : public QObject {
    Q_OBJECT
  private slots:
    void init();
    void cleanup();
    void reportIsWrittenAndShown_data();
    void reportIsWrittenAndShown();
    void cancelledReportWritesNothing();
    void failedReportIsToldAndCanBeRetried_data();
    void failedReportIsToldAndCanBeRetried();
    void estimatesAreWrittenOncePerVisit();
    void estimatesNotWrittenCanBeAskedAgain_data();
    void estimatesNotWrittenCanBeAskedAgain();
    void writtenReportLoadsBackThroughTheWindows();
    void closingTheLoaderKeepsTheProgramRunning();

  private:
    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<Program> program_;
    QStringList opened_;
    bool openerSucceeds_ = true;

    QString path(const QString& name) const { return dir_->filePath(name); }
    QStringList filesWritten() const {
        QStringList found;
        QDirIterator it(dir_->path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext()) found << QDir(dir_->path()).relativeFilePath(it.next());
        return found;
    }
    std::unique_ptr<Program> newRun();
    QWidget* form0() { return &program_->mainWindow(); }
    void answer(const QString& text) {
        retype(control<QLineEdit>(form0(), "TextBox1"), text);
        click(form0(), "CommandButton1");
    }
    void choose(int n) {
        const QByteArray name = "Option" + QByteArray::number(n);
        QTest::mouseClick(control<QRadioButton>(form0(), name.constData()), Qt::LeftButton);
        click(form0(), "CommandButton1");
    }
    /// Walks the wizard as a user does, up to the results.
    void answerUpToResult();
    /// "Сформировать смету", then "Смета по приобретению услуг".
    QWidget* openServicesEstimate();
};

std::unique_ptr<Program> TestWorkbookExports::newRun() {
    auto run = std::make_unique<Program>(QLocale(QLocale::Russian, QLocale::Russia));
    run->start();
    click(&run->welcomeWindow(), "Command1");
    return run;
}

void TestWorkbookExports::init() {
    resetEndProgramRequests();
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
    Dialogs::resetHooks();
    // Any message is answered at once: none may wait for a person.
    for (int i = 0; i < 4; ++i) Dialogs::setNextAnswer(QMessageBox::Ok);
    opened_.clear();
    openerSucceeds_ = true;
    WorkbookSaver::setOpener([this](const QString& p) {
        opened_ << p;
        return openerSucceeds_;
    });
    program_ = newRun();
}

void TestWorkbookExports::cleanup() {
    program_.reset();
    WorkbookSaver::setOpener({});
    Dialogs::resetHooks();
    QCOMPARE(endProgramRequests(), 0);
}

void TestWorkbookExports::answerUpToResult() {
    typeText(control<QComboBox>(form0(), "Combo1")->lineEdit(), QStringLiteral("ДОУ №12"));
    control<QComboBox>(form0(), "Combo2")->setCurrentIndex(1);
    click(form0(), "CommandButton3");
    answer(QStringLiteral("20"));
    answer(QStringLiteral("1"));
    choose(2);
    choose(3);
    click(topLevel(QStringLiteral("Form9")), "Command1");
    QWidget* editor = topLevel(QStringLiteral("Form10"));
    QVERIFY(editor && editor->isVisible());
    control<QComboBox>(editor, "Combo1")->setCurrentIndex(2);
    control<QComboBox>(editor, "Combo2")->setCurrentIndex(6);
    control<QComboBox>(editor, "Combo3")->setCurrentIndex(0);
    retype(control<QLineEdit>(editor, "Text1"), QStringLiteral("20"));
    click(editor, "Command1");
    while (program_->store().record.wizardStep < Step::kWorkWeek) answer(QStringLiteral("12"));
    choose(1);
    QCOMPARE(program_->store().record.wizardStep, Step::kResult);
    QVERIFY(button(form0(), "Command2")->isVisible());
}

QWidget* TestWorkbookExports::openServicesEstimate() {
    click(form0(), "Command6");
    QWidget* payroll = topLevel(QStringLiteral("Form6"));
    if (!payroll || !payroll->isVisible()) return nullptr;
    click(payroll, "Command2");
    QWidget* services = topLevel(QStringLiteral("Form7"));
    return services && services->isVisible() ? services : nullptr;
}

void TestWorkbookExports::reportIsWrittenAndShown_data() {
    QTest::addColumn<bool>("spreadsheetProgram");
    QTest::newRow("shown in the spreadsheet program") << true;
    QTest::newRow("no spreadsheet program: told where the file is") << false;
}

void TestWorkbookExports::reportIsWrittenAndShown() {
    QFETCH(bool, spreadsheetProgram);
    openerSucceeds_ = spreadsheetProgram;
    answerUpToResult();
    Dialogs::setNextFileName(path(QStringLiteral("отчет")));
    click(form0(), "Command2");

    const QString written = path(QStringLiteral("отчет.xlsx"));
    QCOMPARE(filesWritten(), QStringList{QStringLiteral("отчет.xlsx")});
    QCOMPARE(opened_, QStringList{written});
    const QStringList shown = Dialogs::takeShownMessages();
    if (spreadsheetProgram) {
        QVERIFY2(shown.isEmpty(), qPrintable(shown.join(u'\n')));
    } else {
        QCOMPARE(shown.size(), 1);
        QVERIFY2(shown[0].contains(QDir::toNativeSeparators(written)), qPrintable(shown[0]));
    }
    // The report was made: the button is not offered again.
    QVERIFY(!button(form0(), "Command2")->isEnabled());

    const auto report = readBack(written);
    QVERIFY(report);
    // The report's own two sheets, then the methodology and the calculation's trail.
    QCOMPARE(report->sheetCount(), 4);
    QCOMPARE(report->sheetName(1), QStringLiteral("Параметры ДОУ"));
    QCOMPARE(report->sheetName(2), QStringLiteral("Группы"));
    QCOMPARE(report->sheetName(3), QStringLiteral("Методика"));
    QCOMPARE(report->sheetName(4), QStringLiteral("Расчет"));
    QCOMPARE(report->cell(1, u"B4"), CellValue::text(QStringLiteral("ДОУ №12")));
    QCOMPARE(report->cell(1, u"B6"), CellValue::number(20));
    QCOMPARE(report->cell(1, u"B7"), CellValue::number(1));
    QCOMPARE(report->cell(1, u"B42"), CellValue::text(QStringLiteral("город")));
    QCOMPARE(report->cell(1, u"H124"), CellValue::number(11123546));
    QCOMPARE(report->cell(1, u"H125"), CellValue::number(1));
    QCOMPARE(report->cell(2, u"E5"), CellValue::number(20));
    QVERIFY(report->cell(1, u"B48").isNumber());
}

void TestWorkbookExports::cancelledReportWritesNothing() {
    answerUpToResult();
    Dialogs::setNextFileName(QString());
    click(form0(), "Command2");
    QVERIFY(filesWritten().isEmpty());
    QVERIFY(opened_.isEmpty());
    QVERIFY(Dialogs::takeShownMessages().isEmpty());
    QVERIFY(button(form0(), "Command2")->isEnabled());
}

void TestWorkbookExports::failedReportIsToldAndCanBeRetried_data() {
    QTest::addColumn<QString>("target");
    QTest::newRow("folder that doesn't exist") << "нет папки/отчет.xlsx";
    QTest::newRow("a folder where the file should be") << "занято.xlsx";
}

void TestWorkbookExports::failedReportIsToldAndCanBeRetried() {
    QFETCH(QString, target);
    QVERIFY(QDir(dir_->path()).mkdir(QStringLiteral("занято.xlsx")));
    answerUpToResult();
    const InstitutionRecord before = program_->store().record;
    Dialogs::setNextFileName(path(target));
    click(form0(), "Command2");

    const QStringList shown = Dialogs::takeShownMessages();
    QCOMPARE(shown.size(), 1);
    QVERIFY2(shown[0].contains(QDir::toNativeSeparators(path(target))), qPrintable(shown[0]));
    QVERIFY(filesWritten().isEmpty());
    QVERIFY(opened_.isEmpty());
    QVERIFY(form0()->isVisible());
    QVERIFY(button(form0(), "Command2")->isEnabled());
    QCOMPARE(program_->store().record.wizardStep, Step::kResult);
    QCOMPARE(program_->store().record[Answer::PupilCount], before[Answer::PupilCount]);

    // The user tries again elsewhere.
    Dialogs::setNextFileName(path(QStringLiteral("отчет.xlsx")));
    click(form0(), "Command2");
    QCOMPARE(filesWritten(), QStringList{QStringLiteral("отчет.xlsx")});
    QVERIFY(!button(form0(), "Command2")->isEnabled());
}

void TestWorkbookExports::estimatesAreWrittenOncePerVisit() {
    answerUpToResult();
    QWidget* services = openServicesEstimate();
    QVERIFY(services);
    QPushButton* exportButton = button(services, "Command2");
    QCOMPARE(exportButton->text(), QStringLiteral("Сформировать сметы в формате Excel"));

    Dialogs::setNextFileName(path(QStringLiteral("смета.xlsx")));
    click(services, "Command2");
    QCOMPARE(filesWritten(), QStringList{QStringLiteral("смета.xlsx")});
    QCOMPARE(opened_, QStringList{path(QStringLiteral("смета.xlsx"))});
    QVERIFY(!exportButton->isEnabled());
    QVERIFY(services->isVisible());

    const auto estimates = readBack(path(QStringLiteral("смета.xlsx")));
    QVERIFY(estimates);
    QCOMPARE(estimates->cell(1, u"A2"),
             CellValue::text(
                 QStringLiteral("Рекомендуемая смета дошкольного образовательного учреждения")));
    QCOMPARE(estimates->cell(1, u"A5"), CellValue::text(QStringLiteral("Воспитатели")));
    QCOMPARE(estimates->cell(1, u"B30"), CellValue::text(QStringLiteral("-")));
    // Row 5 (teachers): the total is the shown payroll figure of the estimate window.
    const QString teachersTotal = program_->store().estimateCopies.payroll.at(1, 5);
    QCOMPARE(estimates->cell(1, u"F5"),
             CellValue::number(program_->store().locale.toDouble(teachersTotal)));
    QVERIFY(estimates->cell(1, u"F37").isNumber());

    // Back through "Смета по оплате труда" and forward again: one more workbook.
    click(services, "Command1");
    QVERIFY(!services->isVisible());
    click(topLevel(QStringLiteral("Form6")), "Command2");
    QVERIFY(services->isVisible());
    QVERIFY(exportButton->isEnabled());
    Dialogs::setNextFileName(path(QStringLiteral("смета 2.xlsx")));
    click(services, "Command2");
    QCOMPARE(filesWritten().size(), 2);
    QVERIFY(Dialogs::takeShownMessages().isEmpty());
}

void TestWorkbookExports::estimatesNotWrittenCanBeAskedAgain_data() {
    QTest::addColumn<QString>("target");
    QTest::addColumn<int>("messages");
    QTest::newRow("cancelled") << QString() << 0;
    QTest::newRow("folder that doesn't exist") << "нет папки/смета.xlsx" << 1;
}

void TestWorkbookExports::estimatesNotWrittenCanBeAskedAgain() {
    QFETCH(QString, target);
    QFETCH(int, messages);
    answerUpToResult();
    QWidget* services = openServicesEstimate();
    QVERIFY(services);
    Dialogs::setNextFileName(target.isEmpty() ? QString() : path(target));
    click(services, "Command2");
    QVERIFY(filesWritten().isEmpty());
    const QStringList shown = Dialogs::takeShownMessages();
    QCOMPARE(shown.size(), messages);
    if (messages) {
        QVERIFY2(shown[0].contains(QDir::toNativeSeparators(path(target))), qPrintable(shown[0]));
    }
    QVERIFY(button(services, "Command2")->isEnabled());
    QVERIFY(services->isVisible());

    Dialogs::setNextFileName(path(QStringLiteral("смета.xlsx")));
    click(services, "Command2");
    QCOMPARE(filesWritten(), QStringList{QStringLiteral("смета.xlsx")});
}

void TestWorkbookExports::writtenReportLoadsBackThroughTheWindows() {
    answerUpToResult();
    Dialogs::setNextFileName(path(QStringLiteral("отчет.xlsx")));
    click(form0(), "Command2");
    QCOMPARE(filesWritten(), QStringList{QStringLiteral("отчет.xlsx")});

    // A new run loads it from the start screen.
    program_ = newRun();
    control<QCheckBox>(form0(), "Check1")->setChecked(true);
    click(form0(), "Command4");
    Form3& loader = program_->loaderWindow();
    QVERIFY(loader.isVisible());
    QVERIFY(!form0()->isVisible());
    loader.showDirectory(dir_->path());
    auto* files = control<QListWidget>(&loader, "File1");
    const QList<QListWidgetItem*> found =
        files->findItems(QStringLiteral("отчет.xlsx"), Qt::MatchExactly);
    QCOMPARE(found.size(), 1);
    QTest::mouseClick(files->viewport(), Qt::LeftButton, {},
                      files->visualItemRect(found[0]).center());
    click(&loader, "Command1");

    QVERIFY(!loader.isVisible());
    QVERIFY(form0()->isVisible());
    const Store& store = program_->store();
    QCOMPARE(store.record.wizardStep, 1);
    QCOMPARE(store.record.institutionName, FieldValue::text(QStringLiteral("ДОУ №12")));
    QCOMPARE(store.record.useOwnPayrollData, FieldValue::integer(1));
    QCOMPARE(control<QLabel>(form0(), "Label1")->text(),
             QStringLiteral("Введите количество воспитанников ДОУ"));
    QCOMPARE(control<QLineEdit>(form0(), "TextBox1")->text(), QStringLiteral("20"));
    QVERIFY(control<QWidget>(form0(), "Check1")->isHidden());
    // The next question shows its loaded answer too.
    click(form0(), "CommandButton1");
    QCOMPARE(store.record.wizardStep, 2);
    QCOMPARE(control<QLineEdit>(form0(), "TextBox1")->text(), QStringLiteral("1"));
}

void TestWorkbookExports::closingTheLoaderKeepsTheProgramRunning() {
    click(form0(), "Command4");
    Form3& loader = program_->loaderWindow();
    QVERIFY(loader.isVisible());
    // The close box, while the loader is the only window shown: the program must not take
    // it for its last window closing.
    bool stillRunning = false;
    QTimer::singleShot(0, &loader, [&loader] { loader.windowHandle()->close(); });
    QTimer::singleShot(200, qApp, [&stillRunning] {
        stillRunning = true;
        QCoreApplication::exit(0);  // quit() would close the windows first
    });
    QApplication::exec();
    QVERIFY(stillRunning);
    QVERIFY(!loader.isVisible());
    QVERIFY(form0()->isVisible());
    QVERIFY(control<QWidget>(form0(), "Check1")->isVisible());
    QVERIFY(control<QWidget>(form0(), "Command5")->isVisible());
}

QTEST_MAIN(TestWorkbookExports)
#include "test_workbookexports.moc"
