// The summary window driven by its controls' names as a user drives it: opened from the
// start screen, inputs added by file and by folder, a mixed folder computed to the same
// rows, totals and workbook as normativ-calc --summary, a run stopped, the list edited.

#include "calcprocess.h"
#include "dialogs.h"
#include "form0.h"
#include "form11.h"
#include "guitest.h"
#include "mixedfolder.h"
#include "openworkbook.h"
#include "program.h"
#include "summaryworkbook.h"
#include "workbooksaver.h"

#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>
#include <cmath>

using namespace normativ;
using namespace normativ::test;

namespace {

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

/// The figure a cell of the table shows, read back ("." or "," as decimal separator).
double shownNumber(const QString& text) {
    bool ok = false;
    const double value = QString(text).replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&ok);
    return ok ? value : NAN;
}

}  // namespace

class TestForm11 : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() {
        QVERIFY(dir_.isValid());
        // No deployed methodology: the window and normativ-calc both use the example.
        qputenv("XDG_CONFIG_HOME", dir_.filePath(QStringLiteral("config")).toUtf8());
        qputenv("XDG_CONFIG_DIRS", dir_.filePath(QStringLiteral("etc")).toUtf8());
        folder_ = dir_.filePath(QStringLiteral("детские сады"));
        QVERIFY(QDir().mkpath(folder_));
        fillMixedFolder(folder_);
    }

    void init() {
        Dialogs::resetHooks();
        opened_.clear();
        WorkbookSaver::setOpener([this](const QString& path) {
            opened_ << path;
            return true;
        });
        program_ = std::make_unique<Program>();
        program_->mainWindow().show();
    }

    void cleanup() {
        program_.reset();
        WorkbookSaver::setOpener({});
        Dialogs::resetHooks();
    }

    // Command9 sits on the start screen; the window it opens disables the main window
    // until it is closed, and keeps its list for the next time.
    void openedFromStartScreen() {
        auto* command9 = control<QPushButton>(form0(), "Command9");
        QVERIFY(command9->isVisible());
        QCOMPARE(command9->text(), QStringLiteral("Сводный расчет по нескольким учреждениям"));
        QTest::mouseClick(command9, Qt::LeftButton);
        QWidget* window = topLevel(QStringLiteral("Form11"));
        QVERIFY(window && window->isVisible());
        QCOMPARE(window->windowTitle(), QStringLiteral("Сводный расчет по учреждениям"));
        QVERIFY(!form0()->isEnabled());
        const std::pair<const char*, const char*> captions[] = {
            {"Command1", "Добавить файлы…"},   {"Command2", "Добавить папку…"},
            {"Command3", "Очистить список"},   {"Command4", "Рассчитать"},
            {"Command5", "Сохранить сводку…"}, {"Command6", "Закрыть"}};
        for (const auto& [name, caption] : captions)
            QCOMPARE(button(name)->text(), QString::fromUtf8(caption));
        QCOMPARE(control<QCheckBox>(window, "Check1")->text(),
                 control<QCheckBox>(form0(), "Check1")->text());
        QCOMPARE(control<QCheckBox>(window, "Check2")->text(),
                 control<QCheckBox>(form0(), "Check2")->text());
        QCOMPARE(grid()->columnCount(), summary::kColumns);
        QCOMPARE(grid()->horizontalHeaderItem(summary::kTotalSubsidyColumn - 1)->text(),
                 QStringLiteral("Общий объем субсидии на оказание услуг, рублей"));

        addFolder(folder_);
        QCOMPARE(grid()->rowCount(), 5);
        click("Command6");
        QVERIFY(!window->isVisible());
        QVERIFY(form0()->isEnabled());
        QTest::mouseClick(command9, Qt::LeftButton);
        QVERIFY(window->isVisible());
        QCOMPARE(grid()->rowCount(), 5);
    }

    // The department's folder in both modes: the table holds exactly what normativ-calc's
    // summary holds, failed rows marked with their error; the totals line and the saved
    // summary are normativ-calc's; the table sorts figures as numbers.
    void mixedFolderAsNormativCalc_data() {
        QTest::addColumn<bool>("ownData");
        QTest::addColumn<int>("failures");
        QTest::newRow("standard figures") << false << 3;
        // The reports the program wrote never had the own figures asked.
        QTest::newRow("own payroll and services") << true << 4;
    }
    void mixedFolderAsNormativCalc() {
        QFETCH(bool, ownData);
        QFETCH(int, failures);
        openWindow();
        addFolder(folder_);
        const QStringList names{"1-report.xlsx", "2-statform.xls", "3-refused.xlsx", "4-wrong.xlsx",
                                "5-editor.xlsx"};
        for (int row = 0; row < names.size(); ++row) QCOMPARE(cellText(row, 1), names[row]);
        control<QCheckBox>(window(), "Check1")->setChecked(ownData);
        control<QCheckBox>(window(), "Check2")->setChecked(ownData);
        calculate();

        const QString expectedPath = dir_.filePath(QStringLiteral("expected.xlsx"));
        QStringList args{QStringLiteral("--summary"), expectedPath, folder_};
        if (ownData) args << QStringLiteral("--own-payroll") << QStringLiteral("--own-services");
        const calctest::Run r = calctest::runCalc(args, QProcessEnvironment::systemEnvironment());
        QCOMPARE(r.status, 1);
        const auto expected = openWorkbook(readAll(expectedPath));
        QVERIFY2(expected.ok(), qPrintable(expected.error()));
        const auto cell = [&](int row, int column) { return expected->cell(1, row, column); };

        using namespace summary;
        int failed = 0;
        for (int i = 0; i < names.size(); ++i) {
            const int row = kFirstInputRow + i;
            for (int column = 1; column <= kColumns; ++column) {
                const CellValue want = cell(row, column);
                const QString shown = cellText(i, column);
                const QString where = QStringLiteral("row %1 column %2").arg(i).arg(column);
                if (want.isNumber() && column != kYearColumn) {
                    QVERIFY2(std::abs(shownNumber(shown) - want.toNumber()) <= 0.005,
                             qPrintable(where + ": " + shown));
                } else if (want.isNumber()) {
                    QCOMPARE(shown, QString::number(want.toNumber()));
                } else {
                    QVERIFY2(shown == want.toText(), qPrintable(where + ": " + shown));
                }
            }
            const bool computed = cell(row, kStatusColumn).toText() == QStringLiteral("рассчитано");
            const QColor background = grid()->item(i, kStatusColumn - 1)->background().color();
            QVERIFY2(computed == (background != QColor(255, 224, 224)), qPrintable(names[i]));
            failed += computed ? 0 : 1;
        }
        QCOMPARE(failed, failures);
        const int totals = kFirstInputRow + static_cast<int>(names.size());
        const int computed = 5 - failures;
        QCOMPARE(cell(totals, kStatusColumn).toText(),
                 QStringLiteral("рассчитано: %1 из 5").arg(computed));
        QCOMPARE(label("Label1"),
                 QStringLiteral("рассчитано: %1 из 5; субсидии всего: %2 руб.")
                     .arg(computed)
                     .arg(QString::number(cell(totals, kTotalSubsidyColumn).toNumber(), 'f', 2)
                              .replace(QLatin1Char('.'), QLocale::system().decimalPoint())));
        QCOMPARE(control<QProgressBar>(window(), "ProgressBar1")->value(), 5);
        saveShot(window(), QStringLiteral("form11-%1").arg(QTest::currentDataTag()));

        // Saved through the save dialog, then opened: cell for cell normativ-calc's.
        const QString savedPath = dir_.filePath(QStringLiteral("сводка %1").arg(failures));
        Dialogs::setNextFileName(savedPath);
        click("Command5");
        QCOMPARE(opened_, QStringList{savedPath + ".xlsx"});
        const auto saved = openWorkbook(readAll(savedPath + ".xlsx"));
        QVERIFY2(saved.ok(), qPrintable(saved.error()));
        for (int row = 1; row <= totals + 2; ++row) {
            for (int column = 1; column <= kColumns; ++column)
                QCOMPARE(saved->cell(1, row, column), cell(row, column));
        }

        // Sorted by the total subsidy: the computed rows in numeric order first.
        grid()->sortByColumn(kTotalSubsidyColumn - 1, Qt::AscendingOrder);
        for (int row = 1; row < computed; ++row) {
            QVERIFY2(shownNumber(cellText(row - 1, kTotalSubsidyColumn)) <=
                         shownNumber(cellText(row, kTotalSubsidyColumn)),
                     qPrintable(cellText(row, kTotalSubsidyColumn)));
        }
        QVERIFY(cellText(computed, kTotalSubsidyColumn).isEmpty());
        grid()->sortByColumn(kFileColumn - 1, Qt::DescendingOrder);
        QCOMPARE(cellText(0, kFileColumn), names.last());
    }

    // A stopped run finishes the inputs in flight only: a first part of the list has
    // its rows, nothing can be saved, and the next run computes everything. Closing the
    // window during a run stops it too and keeps the list.
    void stoppedRun() {
        const QString many = dir_.filePath(QStringLiteral("many"));
        QVERIFY(QDir().mkpath(many));
        constexpr int kCount = 400;
        for (int i = 0; i < kCount; ++i) {
            QVERIFY(QFile::copy(folder_ + "/1-report.xlsx",
                                many + QStringLiteral("/%1.xlsx").arg(i, 4, 10, QLatin1Char('0'))));
        }
        openWindow();
        addFolder(many);
        QCOMPARE(grid()->rowCount(), kCount);
        click("Command4");
        QCOMPARE(button("Command4")->text(), QStringLiteral("Остановить"));
        QVERIFY(!button("Command1")->isEnabled());
        click("Command4");
        QTRY_COMPARE_WITH_TIMEOUT(button("Command4")->text(), QStringLiteral("Рассчитать"), 60000);
        int done = 0;
        while (done < kCount && !cellText(done, summary::kStatusColumn).isEmpty()) ++done;
        for (int row = done; row < kCount; ++row)
            QVERIFY(cellText(row, summary::kStatusColumn).isEmpty());
        QVERIFY2(done < kCount, qPrintable(QString::number(done)));
        QCOMPARE(control<QProgressBar>(window(), "ProgressBar1")->value(), done);
        QVERIFY(label("Label1").startsWith(
            QStringLiteral("рассчитано: %1 из %2;").arg(done).arg(kCount)));
        QVERIFY(!button("Command5")->isEnabled());

        calculate();
        QVERIFY(button("Command5")->isEnabled());
        QVERIFY(label("Label1").startsWith(QStringLiteral("рассчитано: %1 из %1;").arg(kCount)));

        click("Command4");
        click("Command6");
        QVERIFY(!window()->isVisible());
        QVERIFY(form0()->isEnabled());
        QVERIFY(!program_->summaryWindow().running());
        QCOMPARE(grid()->rowCount(), kCount);
    }

    // Files added several at once, a file already listed not twice, a folder without
    // workbooks told and nothing added, the list cleared; a changed mode drops results.
    void listEditing() {
        openWindow();
        QVERIFY(!button("Command4")->isEnabled());
        const QString report = folder_ + "/1-report.xlsx";
        const QString form = folder_ + "/2-statform.xls";
        Dialogs::setNextFileNames({report, form, report});
        click("Command1");
        QCOMPARE(grid()->rowCount(), 2);
        Dialogs::setNextFileNames({form});
        click("Command1");
        QCOMPARE(grid()->rowCount(), 2);
        Dialogs::setNextFileNames({});
        click("Command1");
        QCOMPARE(grid()->rowCount(), 2);

        const QString empty = dir_.filePath(QStringLiteral("пусто"));
        QVERIFY(QDir().mkpath(empty));
        Dialogs::setNextAnswer(QMessageBox::Ok);
        addFolder(empty);
        QCOMPARE(grid()->rowCount(), 2);
        QCOMPARE(Dialogs::takeShownMessages(),
                 QStringList{QStringLiteral("В папке «%1» нет файлов .xlsx и .xls.").arg(empty)});

        calculate();
        QVERIFY(button("Command5")->isEnabled());
        control<QCheckBox>(window(), "Check1")->setChecked(true);
        QVERIFY(cellText(0, summary::kStatusColumn).isEmpty());
        QVERIFY(!button("Command5")->isEnabled());
        QVERIFY(label("Label1").isEmpty());

        click("Command3");
        QCOMPARE(grid()->rowCount(), 0);
        QVERIFY(!button("Command4")->isEnabled());
        QVERIFY(!button("Command3")->isEnabled());
    }

  private:
    QWidget* form0() { return &program_->mainWindow(); }
    QWidget* window() { return &program_->summaryWindow(); }
    QTableWidget* grid() { return control<QTableWidget>(window(), "Grid1"); }
    QPushButton* button(const char* name) { return control<QPushButton>(window(), name); }
    QString label(const char* name) { return control<QLabel>(window(), name)->text(); }
    void click(const char* name) { QTest::mouseClick(button(name), Qt::LeftButton); }
    QString cellText(int row, int column) {
        const QTableWidgetItem* item = grid()->item(row, column - 1);
        return item ? item->text() : QString();
    }
    void openWindow() {
        QTest::mouseClick(control<QPushButton>(form0(), "Command9"), Qt::LeftButton);
        QVERIFY(window()->isVisible());
    }
    void addFolder(const QString& folder) {
        Dialogs::setNextFileName(folder);
        click("Command2");
    }
    void calculate() {
        click("Command4");
        QTRY_COMPARE_WITH_TIMEOUT(button("Command4")->text(), QStringLiteral("Рассчитать"), 60000);
    }

    QTemporaryDir dir_;
    QString folder_;
    std::unique_ptr<Program> program_;
    QStringList opened_;
};

QTEST_MAIN(TestForm11)
#include "test_form11.moc"
