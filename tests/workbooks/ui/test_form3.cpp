#include "form0.h"
#include "form3.h"
#include "guitest.h"
#include "savedreport.h"
#include "savexlsx.h"
#include "store.h"
#include "workbooksaver.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFileSystemModel>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTreeView>
#include <QtTest>
#include <memory>

using namespace normativ;
using namespace normativ::test;

namespace {

const QString kWrongFile =
    QStringLiteral("Указанный Вами файл не является требуемой формой статистической отчетности");
const QString kNoFile = QStringLiteral("Не указан путь к статистической форме");

/// A saved report of a run whose step 1 answer is `pupils`, written as the program
/// writes it.
bool writeReport(const QString& path, const QString& pupils) {
    Store store(QLocale(QLocale::Russian, QLocale::Russia));
    store.record.institutionName = FieldValue::text(QStringLiteral("ДОУ №5"));
    store.record.planningYear = FieldValue::text(QStringLiteral("2011"));
    store.record.storeAnswer(Answer::PupilCount, pupils, store.locale);
    store.record.storeAnswer(Answer::GroupCount, QStringLiteral("2"), store.locale);
    store.record.setChoice(Flag::SettlementIsCity);
    store.record.setChoice(Flag::KindOther);
    store.record.setChoice(Flag::FiveDayWeek);
    store.distribution.storeKindText(1, Kind::AgeClass, kindItemTexts(Kind::AgeClass)[2]);
    store.distribution.storeKindText(1, Kind::StayMode, kindItemTexts(Kind::StayMode)[6]);
    store.distribution.storeKindText(1, Kind::Orientation, kindItemTexts(Kind::Orientation)[0]);
    store.distribution.storePupilText(1, pupils, store.locale);
    store.distribution.recordCount = FieldValue::integer(1);
    return saveWorkbook(buildSavedReport(store), path).ok();
}

bool writeFile(const QString& path, const QByteArray& content) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

}  // namespace

/// The loading window with the real main window behind it.
class TestForm3 : public QObject {
    Q_OBJECT
  private slots:
    void init();
    void cleanup();
    void opensFromTheStartScreen();
    void fileListShowsWorkbooksOfTheFolder();
    void choosingAFileShowsItsFullPath();
    void folderListMovesTheFileList();
    void startWithoutAFileIsRefused();
    void wrongFileIsRefused_data();
    void wrongFileIsRefused();
    void reportLoadsAndStepOneShowsThePupils_data();
    void reportLoadsAndStepOneShowsThePupils();
    void closingReturnsToTheStartScreen();
    void chosenFileIsKeptBetweenOpenings();
    void nothingIsCutOff();
    void startsWhereReportsAreSaved_data();
    void startsWhereReportsAreSaved();
    void driveListOffersHomeAndMedia_data();
    void driveListOffersHomeAndMedia();

  private:
    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<Store> store_;
    Navigator navigator_;
    std::unique_ptr<Form0> form0_;
    std::unique_ptr<Form3> form3_;

    QString path(const QString& name) const { return dir_->filePath(name); }
    QLabel* label(const char* name) { return control<QLabel>(form3_.get(), name); }
    QListWidget* fileList() { return control<QListWidget>(form3_.get(), "File1"); }
    QStringList files() {
        QStringList names;
        for (int i = 0; i < fileList()->count(); ++i) names << fileList()->item(i)->text();
        return names;
    }
    void openLoader() {
        QTest::mouseClick(control<QPushButton>(form0_.get(), "Command4"), Qt::LeftButton);
        form3_->showDirectory(dir_->path());
    }
    void chooseFile(const QString& name) {
        const QList<QListWidgetItem*> found = fileList()->findItems(name, Qt::MatchExactly);
        QVERIFY2(found.size() == 1, qPrintable(name));
        QTest::mouseClick(fileList()->viewport(), Qt::LeftButton, {},
                          fileList()->visualItemRect(found[0]).center());
    }
    void start() {
        QTest::mouseClick(control<QPushButton>(form3_.get(), "Command1"), Qt::LeftButton);
    }
    bool modeChecksShown() {
        for (const char* name : {"Check1", "Check2", "Command3", "Command5"}) {
            if (control<QWidget>(form0_.get(), name)->isHidden()) return false;
        }
        return true;
    }
    bool modeChecksHidden() {
        for (const char* name : {"Check1", "Check2", "Command3", "Command5"}) {
            if (!control<QWidget>(form0_.get(), name)->isHidden()) return false;
        }
        return true;
    }
};

void TestForm3::init() {
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
    store_ = std::make_unique<Store>(QLocale(QLocale::Russian, QLocale::Russia));
    navigator_ = Navigator();
    form0_ = std::make_unique<Form0>(*store_, navigator_);
    form3_ = std::make_unique<Form3>(*store_, navigator_);
    navigator_.main = form0_.get();
    navigator_.loader = form3_.get();
    form0_->show();
}

void TestForm3::cleanup() {
    form3_.reset();
    form0_.reset();
    store_.reset();
}

void TestForm3::opensFromTheStartScreen() {
    control<QCheckBox>(form0_.get(), "Check2")->setChecked(true);
    QTest::mouseClick(control<QPushButton>(form0_.get(), "Command4"), Qt::LeftButton);
    QVERIFY(form3_->isVisible());
    QVERIFY(!form0_->isVisible());
    QCOMPARE(form3_->objectName(), QStringLiteral("Form3"));
    QCOMPARE(form3_->windowTitle(),
             QStringLiteral("Загрузка статистической формы/сохраненного отчета"));
    QCOMPARE(label("Label1")->text(),
             QStringLiteral("Укажите размещение формы формирования задания (файла сохранения) "
                            "для рассматриваемого ДОУ на Вашем компьютере"));
    QCOMPARE(label("Label2")->text(), QStringLiteral("Полный путь:"));
    QVERIFY(label("Label4")->text().isEmpty());
    QVERIFY(!label("Label3")->isVisible());
    QCOMPARE(control<QPushButton>(form3_.get(), "Command1")->text(),
             QStringLiteral("Начать работу"));
    // The drive list holds the mounted volumes, the one of the starting folder chosen.
    auto* drives = control<QComboBox>(form3_.get(), "Drive1");
    QVERIFY(drives->count() >= 1);
    QVERIFY2(
        form3_->currentDirectory().startsWith(drives->currentData().toString()),
        qPrintable(drives->currentText() + QStringLiteral(" / ") + form3_->currentDirectory()));
    // The modes are taken when the loader opens.
    QCOMPARE(store_->record.useOwnServicesData, FieldValue::integer(1));
    saveShot(form3_.get(), QStringLiteral("Form3-nothing-chosen"));
}

void TestForm3::fileListShowsWorkbooksOfTheFolder() {
    for (const char* name : {"b.xlsx", "a.XLS", "c.xlsm", "d.txt", "e.xlsx.bak", "xls"}) {
        QVERIFY(writeFile(path(QString::fromUtf8(name)), "x"));
    }
    QVERIFY(QDir(dir_->path()).mkdir(QStringLiteral("папка.xlsx")));
    openLoader();
    QCOMPARE(files(), (QStringList{"a.XLS", "b.xlsx", "c.xlsm", "e.xlsx.bak"}));
}

void TestForm3::choosingAFileShowsItsFullPath() {
    QVERIFY(writeFile(path(QStringLiteral("Отчет ДОУ №5.xlsx")), "x"));
    openLoader();
    chooseFile(QStringLiteral("Отчет ДОУ №5.xlsx"));
    const QString expected = QDir::toNativeSeparators(dir_->path()) + QDir::separator() +
                             QStringLiteral("Отчет ДОУ №5.xlsx");
    QCOMPARE(form3_->loadPath(), expected);
    QCOMPARE(label("Label4")->text(), expected);
    saveShot(form3_.get(), QStringLiteral("Form3-file-chosen"));
}

void TestForm3::folderListMovesTheFileList() {
    QVERIFY(QDir(dir_->path()).mkpath(QStringLiteral("Отчеты/2011")));
    QVERIFY(writeFile(path(QStringLiteral("Отчеты/2011/годовой.xlsx")), "x"));
    QVERIFY(writeFile(path(QStringLiteral("верхний.xlsx")), "x"));
    openLoader();
    QCOMPARE(files(), QStringList{QStringLiteral("верхний.xlsx")});
    auto* folders = control<QTreeView>(form3_.get(), "Dir1");
    auto* model = qobject_cast<QFileSystemModel*>(folders->model());
    QVERIFY(model);
    folders->setCurrentIndex(model->index(path(QStringLiteral("Отчеты/2011"))));
    QCOMPARE(form3_->currentDirectory(), path(QStringLiteral("Отчеты/2011")));
    QCOMPARE(files(), QStringList{QStringLiteral("годовой.xlsx")});
    chooseFile(QStringLiteral("годовой.xlsx"));
    QCOMPARE(form3_->loadPath(),
             QDir::toNativeSeparators(path(QStringLiteral("Отчеты/2011/годовой.xlsx"))));
}

void TestForm3::startWithoutAFileIsRefused() {
    openLoader();
    const InstitutionRecord before = store_->record;
    start();
    QVERIFY(label("Label3")->isVisible());
    QCOMPARE(label("Label3")->text(), kNoFile);
    QCOMPARE(label("Label3")->palette().color(QPalette::WindowText), QColor(Qt::red));
    QVERIFY(form3_->isVisible());
    QVERIFY(!form0_->isVisible());
    QVERIFY(modeChecksHidden());
    QCOMPARE(store_->record.wizardStep, before.wizardStep);
}

void TestForm3::wrongFileIsRefused_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("workbook");
    QTest::newRow("not a workbook") << QByteArray("это не книга") << false;
    QTest::newRow("empty file") << QByteArray() << false;
    QTest::newRow("workbook without a marker") << QByteArray() << true;
}

void TestForm3::wrongFileIsRefused() {
    QFETCH(QByteArray, content);
    QFETCH(bool, workbook);
    const QString file = path(QStringLiteral("чужой.xlsx"));
    if (workbook) {
        Workbook other;
        other.addSheet().setNumber(u"B6", 37);
        other.addSheet();
        QVERIFY(saveWorkbook(other, file).ok());
    } else {
        QVERIFY(writeFile(file, content));
    }
    store_->record.storeAnswer(Answer::PupilCount, QStringLiteral("15"), store_->locale);
    const InstitutionRecord before = store_->record;
    openLoader();
    chooseFile(QStringLiteral("чужой.xlsx"));
    start();
    QVERIFY(label("Label3")->isVisible());
    QCOMPARE(label("Label3")->text(), kWrongFile);
    QVERIFY(form3_->isVisible());
    QVERIFY(!form0_->isVisible());
    QVERIFY(modeChecksHidden());
    QCOMPARE(store_->record[Answer::PupilCount], before[Answer::PupilCount]);
    QCOMPARE(store_->record.wizardStep, before.wizardStep);
    saveShot(form3_.get(), QStringLiteral("Form3-error-shown"));
}

void TestForm3::reportLoadsAndStepOneShowsThePupils_data() {
    QTest::addColumn<bool>("doubleClick");
    QTest::newRow("Начать работу") << false;
    QTest::newRow("double click on the file") << true;
}

void TestForm3::reportLoadsAndStepOneShowsThePupils() {
    QFETCH(bool, doubleClick);
    QVERIFY(writeReport(path(QStringLiteral("Отчет.xlsx")), QStringLiteral("37")));
    openLoader();
    // A refusal first: the user may try again in the same window.
    start();
    QVERIFY(label("Label3")->isVisible());
    chooseFile(QStringLiteral("Отчет.xlsx"));
    if (doubleClick) {
        QListWidgetItem* item =
            fileList()->findItems(QStringLiteral("Отчет.xlsx"), Qt::MatchExactly)[0];
        QTest::mouseDClick(fileList()->viewport(), Qt::LeftButton, {},
                           fileList()->visualItemRect(item).center());
    } else {
        start();
    }
    QVERIFY(!form3_->isVisible());
    QVERIFY(form0_->isVisible());
    QCOMPARE(store_->record.wizardStep, 1);
    QCOMPARE(store_->record[Answer::PupilCount].toDouble(store_->locale), 37.0);
    QCOMPARE(control<QLabel>(form0_.get(), "Label1")->text(),
             QStringLiteral("Введите количество воспитанников ДОУ"));
    QCOMPARE(control<QLineEdit>(form0_.get(), "TextBox1")->text(), QStringLiteral("37"));
    QVERIFY(modeChecksHidden());
    QVERIFY(control<QWidget>(form0_.get(), "Combo1")->isHidden());
}

void TestForm3::closingReturnsToTheStartScreen() {
    openLoader();
    start();  // a refused attempt hides the mode check boxes
    QVERIFY(modeChecksHidden());
    form3_->close();
    QVERIFY(!form3_->isVisible());
    QVERIFY(form0_->isVisible());
    QVERIFY(modeChecksShown());
    QVERIFY(control<QWidget>(form0_.get(), "Combo1")->isVisible());
    QVERIFY(control<QWidget>(form0_.get(), "CommandButton3")->isVisible());
}

void TestForm3::chosenFileIsKeptBetweenOpenings() {
    QVERIFY(QDir(dir_->path()).mkdir(QStringLiteral("вложенная")));
    QVERIFY(writeFile(path(QStringLiteral("вложенная/форма.xls")), "x"));
    openLoader();
    form3_->showDirectory(path(QStringLiteral("вложенная")));
    chooseFile(QStringLiteral("форма.xls"));
    const QString chosen = form3_->loadPath();
    form3_->close();
    QTest::mouseClick(control<QPushButton>(form0_.get(), "Command4"), Qt::LeftButton);
    QVERIFY(form3_->isVisible());
    QCOMPARE(form3_->loadPath(), chosen);
    QCOMPARE(label("Label4")->text(), chosen);
    QCOMPARE(form3_->currentDirectory(), path(QStringLiteral("вложенная")));
}

void TestForm3::nothingIsCutOff() {
    QVERIFY(writeFile(path(QStringLiteral("очень длинное имя файла сохраненного отчета по "
                                          "дошкольному учреждению без сокращений.xlsx")),
                      "x"));
    openLoader();
    chooseFile(fileList()->item(0)->text());
    start();
    const QRect window = form3_->rect();
    for (QWidget* child : form3_->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (child->isHidden()) continue;
        QVERIFY2(window.contains(child->geometry()), qPrintable(child->objectName()));
        if (auto* text = qobject_cast<QLabel*>(child)) {
            QVERIFY2(text->height() >= text->heightForWidth(text->width()),
                     qPrintable(child->objectName()));
        }
    }
    const QList<QWidget*> placed = form3_->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    for (QWidget* a : placed) {
        for (QWidget* b : placed) {
            if (a == b || a->isHidden() || b->isHidden()) continue;
            QVERIFY2(!a->geometry().intersects(b->geometry()),
                     qPrintable(a->objectName() + QStringLiteral(" / ") + b->objectName()));
        }
    }
}

void TestForm3::startsWhereReportsAreSaved_data() {
    QTest::addColumn<bool>("hasDocuments");
    QTest::newRow("documents folder") << true;
    QTest::newRow("no documents folder: the home folder") << false;
}

void TestForm3::startsWhereReportsAreSaved() {
    QFETCH(bool, hasDocuments);
    // A home folder of our own, with or without its documents folder.
    const QByteArray home = qgetenv("HOME");
    const QByteArray config = qgetenv("XDG_CONFIG_HOME");
    const auto restore = qScopeGuard([&] {
        qputenv("HOME", home);
        if (config.isNull()) {
            qunsetenv("XDG_CONFIG_HOME");
        } else {
            qputenv("XDG_CONFIG_HOME", config);
        }
    });
    qputenv("HOME", QFile::encodeName(dir_->path()));
    qunsetenv("XDG_CONFIG_HOME");
    const QString documents = path(QStringLiteral("Documents"));
    if (hasDocuments) {
        QVERIFY(QDir().mkpath(documents + QStringLiteral("/Отчеты 2023")));
        QVERIFY(writeFile(documents + QStringLiteral("/отчет за прошлый год.xlsx"), "x"));
    }
    QVERIFY(writeFile(path(QStringLiteral("в домашней папке.xls")), "x"));
    const QString start = hasDocuments ? documents : dir_->path();
    QCOMPARE(WorkbookSaver::documentsFolder(), start);

    // Enough folders before it that the documents folder is below the list's first rows.
    for (int i = 1; i <= 30; ++i) QVERIFY(QDir(dir_->path()).mkdir(QStringLiteral("a%1").arg(i)));

    QTest::mouseClick(control<QPushButton>(form0_.get(), "Command4"), Qt::LeftButton);
    QVERIFY(form3_->isVisible());
    QCOMPARE(form3_->currentDirectory(), start);
    QCOMPARE(files(), hasDocuments ? QStringList{QStringLiteral("отчет за прошлый год.xlsx")}
                                   : QStringList{QStringLiteral("в домашней папке.xls")});
    // The folder list shows the home folder's folders, the starting one chosen and in
    // view once they are read.
    auto* folders = control<QTreeView>(form3_.get(), "Dir1");
    auto* model = qobject_cast<QFileSystemModel*>(folders->model());
    QCOMPARE(model->filePath(folders->rootIndex()), dir_->path());
    QTRY_VERIFY(model->rowCount(folders->rootIndex()) >= 30);
    if (hasDocuments) {
        QCOMPARE(model->filePath(folders->currentIndex()), documents);
        QVERIFY(folders->isExpanded(folders->currentIndex()));
        // In view once the list is sorted: after "a1" … "a30".
        const QModelIndex root = folders->rootIndex();
        QTRY_COMPARE(model->index(model->rowCount(root) - 1, 0, root).data().toString(),
                     QStringLiteral("Documents"));
        QTRY_VERIFY(
            folders->viewport()->rect().contains(folders->visualRect(folders->currentIndex())));
    }
    saveShot(form3_.get(), hasDocuments ? QStringLiteral("Form3-start-documents")
                                        : QStringLiteral("Form3-start-home"));
    // The drive list shows the home folder first, chosen.
    auto* drives = control<QComboBox>(form3_.get(), "Drive1");
    QCOMPARE(drives->itemText(0), QStringLiteral("Домашняя папка"));
    QCOMPARE(drives->currentIndex(), 0);

    // Another drive, then the home folder again: its own files.
    const int root = drives->findData(QStringLiteral("/"));
    QVERIFY(root > 0);
    drives->setCurrentIndex(root);
    QCOMPARE(form3_->currentDirectory(), QStringLiteral("/"));
    drives->setCurrentIndex(0);
    QCOMPARE(form3_->currentDirectory(), dir_->path());
    QCOMPARE(model->filePath(folders->rootIndex()), dir_->path());
    QCOMPARE(files(), QStringList{QStringLiteral("в домашней папке.xls")});
}

void TestForm3::driveListOffersHomeAndMedia_data() {
    // A volume: "mount point|name"; an entry: "label → folder".
    QTest::addColumn<QStringList>("volumes");
    QTest::addColumn<QStringList>("drives");
    const QString home = QStringLiteral("Домашняя папка → /home/ivan");
    QTest::newRow("home, then volumes by their paths")
        << QStringList{"/boot|boot", "/|"} << QStringList{home, "/ → /", "/boot → /boot"};
    QTest::newRow("media by their names, before the other volumes")
        << QStringList{"/run/media/ivan/3A1F-0C22|", "/|", "/media/ivan/KINGSTON|KINGSTON",
                       "/media/cdrom0|Отчеты ДОУ"}
        << QStringList{home, "Отчеты ДОУ (съемный носитель) → /media/cdrom0",
                       "KINGSTON (съемный носитель) → /media/ivan/KINGSTON",
                       "3A1F-0C22 (съемный носитель) → /run/media/ivan/3A1F-0C22", "/ → /"};
    QTest::newRow("not under /media or /run/media: a volume")
        << QStringList{"/mnt/usb|USB", "/media|", "/run/mediator|"}
        << QStringList{home, "/media → /media", "/mnt/usb → /mnt/usb",
                       "/run/mediator → /run/mediator"};
    QTest::newRow("one entry per folder")
        << QStringList{"/|", "/home/ivan|home", "/|", "/media/ivan/KINGSTON|KINGSTON",
                       "/media/ivan/KINGSTON|KINGSTON"}
        << QStringList{home, "KINGSTON (съемный носитель) → /media/ivan/KINGSTON", "/ → /"};
}

void TestForm3::driveListOffersHomeAndMedia() {
    QFETCH(QStringList, volumes);
    QFETCH(QStringList, drives);
    QList<Form3::Volume> mounted;
    for (const QString& volume : volumes) {
        mounted.append(
            {volume.section(QLatin1Char('|'), 0, 0), volume.section(QLatin1Char('|'), 1)});
    }
    QStringList listed;
    for (const Form3::Drive& d : Form3::driveList(QStringLiteral("/home/ivan"), mounted)) {
        listed << d.label + QStringLiteral(" → ") + d.root;
    }
    QCOMPARE(listed, drives);
}

QTEST_MAIN(TestForm3)
#include "test_form3.moc"
