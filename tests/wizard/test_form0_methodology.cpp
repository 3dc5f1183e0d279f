// The methodology on the start screen: the one in use named, a workbook loaded (its years
// offered, its figures used) or refused, the sample saved, and the default deployed in the
// configuration folder.

#include "closeguard.h"
#include "dialogs.h"
#include "form0.h"
#include "guitest.h"
#include "infowindows.h"
#include "methodology.h"
#include "methodologyworkbook.h"
#include "program.h"
#include "savexlsx.h"
#include "store.h"
#include "workbooksaver.h"

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QtTest>

using namespace normativ;
using namespace normativ::test;

class TestForm0Methodology : public QObject {
    Q_OBJECT
  private slots:
    void init();
    void cleanup();
    void builtInExampleAtStart();
    void loadedMethodologyIsUsed();
    void refusedMethodologyKeepsTheOneInUse();
    void sampleIsSaved();
    void deployedMethodologyIsTheDefault();
    void refusedDeployedMethodologyIsShown();

  private:
    void startProgram();
    QWidget* form0() { return &program_->mainWindow(); }
    QString label(const char* name) { return control<QLabel>(form0(), name)->text(); }
    QStringList years() {
        auto* combo = control<QComboBox>(form0(), "Combo2");
        QStringList items;
        for (int i = 0; i < combo->count(); ++i) items << combo->itemText(i);
        return items;
    }
    QString writeMethodology(const Methodology& m, const QString& path) {
        QDir().mkpath(QFileInfo(path).path());
        const Status saved = saveWorkbook(buildMethodologyWorkbook(m), path);
        if (!saved) qFatal("%s", qPrintable(saved.error()));
        return path;
    }
    void load(const QString& path) {
        Dialogs::setNextFileName(path);
        QTest::mouseClick(control<QPushButton>(form0(), "Command7"), Qt::LeftButton);
    }

    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<Program> program_;
};

void TestForm0Methodology::init() {
    dir_ = std::make_unique<QTemporaryDir>();
    // Nothing of this machine's configuration takes part.
    qputenv("XDG_CONFIG_HOME", dir_->filePath(QStringLiteral("config")).toUtf8());
    qputenv("XDG_CONFIG_DIRS", dir_->filePath(QStringLiteral("etc")).toUtf8());
    resetEndProgramRequests();
    Dialogs::resetHooks();
}

void TestForm0Methodology::cleanup() {
    program_.reset();
    dir_.reset();
}

void TestForm0Methodology::startProgram() {
    program_ = std::make_unique<Program>(QLocale(QLocale::Russian, QLocale::Russia));
    program_->start();
    QTest::mouseClick(control<QPushButton>(&program_->welcomeWindow(), "Command1"), Qt::LeftButton);
}

void TestForm0Methodology::builtInExampleAtStart() {
    startProgram();
    QCOMPARE(label("Label19"), QStringLiteral("Методика расчета: пример (встроенная)"));
    QCOMPARE(years(), (QStringList{"2010", "2011", "2012"}));
    QCOMPARE(control<QPushButton>(form0(), "Command7")->text(),
             QStringLiteral("Загрузить методику…"));
    QCOMPARE(control<QPushButton>(form0(), "Command8")->text(),
             QStringLiteral("Сохранить образец методики…"));
    QVERIFY(!control<QLabel>(form0(), "Label21")->isVisible());
    saveShot(form0(), QStringLiteral("Form0-start-methodology"));
}

// The figures come from tests/calc/derive_expected.py --methodology.
void TestForm0Methodology::loadedMethodologyIsUsed() {
    startProgram();
    Methodology m = *Methodology::example();
    m.name = QStringLiteral("Методика района");
    m.planningYears.push_back({2013, double(1.4f), true});
    m.educationLoad.orientation[5] = 8.5f;
    load(writeMethodology(m, dir_->filePath(QStringLiteral("район.xlsx"))));
    QCOMPARE(label("Label19"), QStringLiteral("Методика расчета: Методика района"));
    QCOMPARE(years(), (QStringList{"2010", "2011", "2012", "2013"}));
    QVERIFY(*program_->store().methodology == m);

    typeText(control<QComboBox>(form0(), "Combo1")->lineEdit(), QStringLiteral("ДОУ №7"));
    control<QComboBox>(form0(), "Combo2")->setCurrentIndex(3);
    QTest::mouseClick(control<QPushButton>(form0(), "CommandButton3"), Qt::LeftButton);
    for (const char* name : {"Label19", "Command7", "Command8"})
        QVERIFY2(!control<QWidget>(form0(), name)->isVisible(), name);
    const auto next = [this] {
        QTest::mouseClick(control<QPushButton>(form0(), "CommandButton1"), Qt::LeftButton);
    };
    const auto answer = [&](const QString& text) {
        retype(control<QLineEdit>(form0(), "TextBox1"), text);
        next();
    };
    const auto choose = [&](const char* option) {
        QTest::mouseClick(control<QRadioButton>(form0(), option), Qt::LeftButton);
        next();
    };
    answer(QStringLiteral("20"));
    answer(QStringLiteral("1"));
    choose("Option1");  // village
    choose("Option2");  // development centre
    QTest::mouseClick(control<QPushButton>(topLevel(QStringLiteral("Form9")), "Command1"),
                      Qt::LeftButton);
    QWidget* editor = topLevel(QStringLiteral("Form10"));
    control<QComboBox>(editor, "Combo1")->setCurrentIndex(2);
    control<QComboBox>(editor, "Combo2")->setCurrentIndex(6);
    control<QComboBox>(editor, "Combo3")->setCurrentIndex(5);
    retype(control<QLineEdit>(editor, "Text1"), QStringLiteral("20"));
    QTest::mouseClick(control<QPushButton>(editor, "Command1"), Qt::LeftButton);
    answer(QStringLiteral("12"));
    answer(QStringLiteral("1500"));
    choose("Option1");  // five days
    QCOMPARE(program_->store().record.wizardStep, 56);
    const QStringList expected{"407918", "402776", "810694", "8158357", "8055520", "16213877"};
    for (int box = 1; box <= 6; ++box) {
        const QByteArray name = "Text" + QByteArray::number(box);
        QCOMPARE(control<QLineEdit>(form0(), name.constData())->text(), expected[box - 1]);
    }
    QVERIFY(control<QLabel>(form0(), "Label20")->isVisible());
    QCOMPARE(label("Label20"), QStringLiteral("Методика расчета: Методика района"));
}

void TestForm0Methodology::refusedMethodologyKeepsTheOneInUse() {
    startProgram();
    Methodology bad = *Methodology::example();
    bad.villageCoefficient = -1.0f;
    load(writeMethodology(bad, dir_->filePath(QStringLiteral("плохая.xlsx"))));
    auto* error = control<QLabel>(form0(), "Label21");
    QVERIFY(error->isVisible());
    QVERIFY2(error->text().startsWith(QStringLiteral("лист «Коэффициенты», ячейка ")),
             qPrintable(error->text()));
    QVERIFY(error->styleSheet().contains(QStringLiteral("#ff0000")));
    QCOMPARE(label("Label19"), QStringLiteral("Методика расчета: пример (встроенная)"));
    QVERIFY(*program_->store().methodology == *Methodology::example());

    load(QString());  // cancelled: nothing changes
    QVERIFY(*program_->store().methodology == *Methodology::example());
}

void TestForm0Methodology::sampleIsSaved() {
    startProgram();
    QString opened;
    WorkbookSaver::setOpener([&](const QString& p) {
        opened = p;
        return true;
    });
    const QString path = dir_->filePath(QStringLiteral("образец.xlsx"));
    Dialogs::setNextFileName(path);
    QTest::mouseClick(control<QPushButton>(form0(), "Command8"), Qt::LeftButton);
    WorkbookSaver::setOpener({});
    QCOMPARE(opened, path);
    const Result<Methodology> read = readMethodologyFile(path);
    QVERIFY2(read.ok(), qPrintable(read.error()));
    QVERIFY(*read == *Methodology::example());
}

void TestForm0Methodology::deployedMethodologyIsTheDefault() {
    Methodology m = *Methodology::example();
    m.name = QStringLiteral("Методика области");
    m.planningYears = {{2014, double(1.5f), true}};
    writeMethodology(m, dir_->filePath(QStringLiteral("etc/normativ/methodology.xlsx")));
    startProgram();
    QCOMPARE(label("Label19"), QStringLiteral("Методика расчета: Методика области"));
    QCOMPARE(years(), QStringList{"2014"});

    // The user's own one comes before the system-wide one.
    program_.reset();
    m.name = QStringLiteral("Методика пользователя");
    writeMethodology(m, dir_->filePath(QStringLiteral("config/normativ/methodology.xlsx")));
    startProgram();
    QCOMPARE(label("Label19"), QStringLiteral("Методика расчета: Методика пользователя"));
}

void TestForm0Methodology::refusedDeployedMethodologyIsShown() {
    QDir().mkpath(dir_->filePath(QStringLiteral("config/normativ")));
    QFile broken(dir_->filePath(QStringLiteral("config/normativ/methodology.xlsx")));
    QVERIFY(broken.open(QIODevice::WriteOnly));
    broken.write("не книга");
    broken.close();
    startProgram();
    auto* error = control<QLabel>(form0(), "Label21");
    QVERIFY(error->isVisible());
    QVERIFY2(error->text().contains(broken.fileName()), qPrintable(error->text()));
    saveShot(form0(), QStringLiteral("Form0-start-methodology-refused"));
    QCOMPARE(label("Label19"), QStringLiteral("Методика расчета: пример (встроенная)"));
}

QTEST_MAIN(TestForm0Methodology)
#include "test_form0_methodology.moc"
