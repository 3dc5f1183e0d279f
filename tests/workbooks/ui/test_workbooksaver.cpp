#include "dialogs.h"
#include "guitest.h"
#include "openworkbook.h"
#include "workbook.h"
#include "workbooksaver.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include <unistd.h>

using namespace normativ;

namespace {

Workbook smallWorkbook() {
    Workbook workbook;
    Sheet& sheet = workbook.addSheet(QStringLiteral("Лист1"));
    sheet.setText(u"A1", QStringLiteral("Проверка"));
    sheet.setNumber(u"B2", 12.5);
    return workbook;
}

CellValue readBack(const QString& path, QStringView address) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return CellValue::text(QStringLiteral("<не открыт>"));
    const auto workbook = openWorkbook(file.readAll());
    return workbook ? workbook->cell(1, address) : CellValue::text(workbook.error());
}

}  // namespace

/// Saving a created workbook: the dialog, the file name, the write, the desktop opener.
class TestWorkbookSaver : public QObject {
    Q_OBJECT
  private slots:
    void init();
    void cleanup();
    void writesChosenFileAndOpensIt_data();
    void writesChosenFileAndOpensIt();
    void cancelWritesNothing();
    void addedEndingAsksBeforeReplacing_data();
    void addedEndingAsksBeforeReplacing();
    void failedWriteIsToldAndNothingIsLeft_data();
    void failedWriteIsToldAndNothingIsLeft();
    void noSpreadsheetProgramTellsWhereTheFileIs();
    void proposedPathIsInTheDocumentsFolder();

  private:
    std::unique_ptr<QTemporaryDir> dir_;
    QStringList opened_;
    bool openerSucceeds_ = true;
    QString path(const QString& name) const { return dir_->filePath(name); }
    QStringList entries() const {
        return QDir(dir_->path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    }
};

void TestWorkbookSaver::init() {
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
    Dialogs::resetHooks();
    // Any message is answered at once: none may wait for a person.
    for (int i = 0; i < 3; ++i) Dialogs::setNextAnswer(QMessageBox::Ok);
    opened_.clear();
    openerSucceeds_ = true;
    WorkbookSaver::setOpener([this](const QString& p) {
        opened_ << p;
        return openerSucceeds_;
    });
}

void TestWorkbookSaver::cleanup() {
    WorkbookSaver::setOpener({});
    Dialogs::resetHooks();
}

void TestWorkbookSaver::writesChosenFileAndOpensIt_data() {
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("written");
    QTest::newRow("name with the ending") << "отчет.xlsx"
                                          << "отчет.xlsx";
    QTest::newRow("ending in capitals kept") << "ОТЧЕТ.XLSX"
                                             << "ОТЧЕТ.XLSX";
    QTest::newRow("ending added") << "отчет"
                                  << "отчет.xlsx";
    QTest::newRow("old format's ending is not this format's") << "отчет.xls"
                                                              << "отчет.xls.xlsx";
    QTest::newRow("a dot inside the name") << "Отчет ДОУ №1 2011 г."
                                           << "Отчет ДОУ №1 2011 г..xlsx";
}

void TestWorkbookSaver::writesChosenFileAndOpensIt() {
    QFETCH(QString, chosen);
    QFETCH(QString, written);
    Dialogs::setNextFileName(path(chosen));
    QVERIFY(WorkbookSaver::save(nullptr, smallWorkbook(), QStringLiteral("Сохранение"),
                                QStringLiteral("книга.xlsx")));
    QCOMPARE(readBack(path(written), u"A1"), CellValue::text(QStringLiteral("Проверка")));
    QCOMPARE(readBack(path(written), u"B2"), CellValue::number(12.5));
    QCOMPARE(opened_, QStringList{path(written)});
    QVERIFY(Dialogs::takeShownMessages().isEmpty());
    QCOMPARE(entries(), QStringList{written});
}

void TestWorkbookSaver::cancelWritesNothing() {
    Dialogs::setNextFileName(QString());
    QVERIFY(!WorkbookSaver::save(nullptr, smallWorkbook(), QStringLiteral("Сохранение"),
                                 QStringLiteral("книга.xlsx")));
    QVERIFY(opened_.isEmpty());
    QVERIFY(Dialogs::takeShownMessages().isEmpty());
    QVERIFY(entries().isEmpty());
}

void TestWorkbookSaver::addedEndingAsksBeforeReplacing_data() {
    QTest::addColumn<bool>("replace");
    QTest::newRow("replaced when the user agrees") << true;
    QTest::newRow("kept when the user declines") << false;
}

void TestWorkbookSaver::addedEndingAsksBeforeReplacing() {
    QFETCH(bool, replace);
    const QString existing = path(QStringLiteral("отчет.xlsx"));
    {
        QFile file(existing);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("прежний файл");
    }
    Dialogs::resetHooks();
    Dialogs::setNextAnswer(replace ? QMessageBox::Yes : QMessageBox::No);
    Dialogs::setNextFileName(path(QStringLiteral("отчет")));
    QCOMPARE(WorkbookSaver::save(nullptr, smallWorkbook(), QStringLiteral("Сохранение"),
                                 QStringLiteral("книга.xlsx")),
             replace);
    const QStringList shown = Dialogs::takeShownMessages();
    QCOMPARE(shown.size(), 1);
    QVERIFY2(shown[0].contains(QDir::toNativeSeparators(existing)), qPrintable(shown[0]));
    if (replace) {
        QCOMPARE(readBack(existing, u"A1"), CellValue::text(QStringLiteral("Проверка")));
    } else {
        QFile file(existing);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("прежний файл"));
        QVERIFY(opened_.isEmpty());
    }
    QCOMPARE(entries(), QStringList{QStringLiteral("отчет.xlsx")});
}

void TestWorkbookSaver::failedWriteIsToldAndNothingIsLeft_data() {
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("reason");
    QTest::newRow("folder that doesn't exist") << "нет такой папки/отчет.xlsx"
                                               << "папка не существует";
    QTest::newRow("folder instead of the file") << "папка.xlsx"
                                                << "по этому пути находится папка";
    QTest::newRow("folder without the right to write") << "только чтение/отчет.xlsx"
                                                       << "нет прав на запись";
}

void TestWorkbookSaver::failedWriteIsToldAndNothingIsLeft() {
    QFETCH(QString, target);
    QFETCH(QString, reason);
    QDir(dir_->path()).mkdir(QStringLiteral("папка.xlsx"));
    if (target.startsWith(QStringLiteral("только чтение"))) {
        if (::geteuid() == 0) QSKIP("the superuser writes into any folder");
        QDir(dir_->path()).mkdir(QStringLiteral("только чтение"));
        QFile::setPermissions(path(QStringLiteral("только чтение")),
                              QFile::ReadOwner | QFile::ExeOwner);
    }
    Dialogs::setNextFileName(path(target));
    QVERIFY(!WorkbookSaver::save(nullptr, smallWorkbook(), QStringLiteral("Сохранение"),
                                 QStringLiteral("книга.xlsx")));
    const QStringList shown = Dialogs::takeShownMessages();
    QCOMPARE(shown.size(), 1);
    QVERIFY2(shown[0].contains(QDir::toNativeSeparators(path(target))), qPrintable(shown[0]));
    QVERIFY2(shown[0].contains(reason), qPrintable(shown[0]));
    QVERIFY2(shown[0].contains(QStringLiteral("попробуйте еще раз")), qPrintable(shown[0]));
    QVERIFY(opened_.isEmpty());
    // Neither the file nor a temporary file beside it.
    QDirIterator files(dir_->path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    QVERIFY2(!files.hasNext(), qPrintable(files.hasNext() ? files.next() : QString()));
}

void TestWorkbookSaver::noSpreadsheetProgramTellsWhereTheFileIs() {
    openerSucceeds_ = false;
    Dialogs::setNextFileName(path(QStringLiteral("смета.xlsx")));
    QVERIFY(WorkbookSaver::save(nullptr, smallWorkbook(), QStringLiteral("Сохранение"),
                                QStringLiteral("книга.xlsx")));
    QVERIFY(QFile::exists(path(QStringLiteral("смета.xlsx"))));
    const QStringList shown = Dialogs::takeShownMessages();
    QCOMPARE(shown.size(), 1);
    QVERIFY2(shown[0].contains(QStringLiteral("«%1»").arg(
                 QDir::toNativeSeparators(path(QStringLiteral("смета.xlsx"))))),
             qPrintable(shown[0]));
}

void TestWorkbookSaver::proposedPathIsInTheDocumentsFolder() {
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString folder = QDir(documents).exists() ? documents : QDir::homePath();
    QCOMPARE(WorkbookSaver::proposedPath(QStringLiteral("Отчет ДОУ.xlsx")),
             QDir(folder).filePath(QStringLiteral("Отчет ДОУ.xlsx")));
}

QTEST_MAIN(TestWorkbookSaver)
#include "test_workbooksaver.moc"
