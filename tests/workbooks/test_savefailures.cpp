#include "savexlsx.h"
#include "workbook.h"

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <csignal>

using namespace normativ;

namespace {

Workbook bigWorkbook() {
    Workbook book;
    Sheet& sheet = book.addSheet(QStringLiteral("Параметры ДОУ"));
    for (int row = 1; row <= 2000; ++row) {
        sheet.setText(row, 1, QStringLiteral("ответ номер %1, введенный пользователем").arg(row));
        sheet.setNumber(row, 2, row * 1.5);
    }
    return book;
}

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void dieBeforeRename() {
    ::raise(SIGKILL);
}

}  // namespace

/// A save that can't be completed never harms the file the user already has.
class TestSaveFailures : public QObject {
    Q_OBJECT
  private slots:
    void fullDeviceIsReportedAndLeavesNothing();
    void crashBeforeRenameKeepsTheUsersFile_data();
    void crashBeforeRenameKeepsTheUsersFile();
};

void TestSaveFailures::fullDeviceIsReportedAndLeavesNothing() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Отчет.xlsx"));
    QFile existing(path);
    QVERIFY(existing.open(QIODevice::WriteOnly));
    existing.write("the report saved yesterday");
    existing.close();

    // A device that takes no more than 4 KiB: every larger write fails as on a full disk.
    const pid_t child = ::fork();
    if (child == 0) {
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{4096, 4096};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        const Status status = saveWorkbook(bigWorkbook(), path);
        const bool told = !status.ok() && status.error().contains(QStringLiteral("места")) &&
                          status.error().contains(QStringLiteral("Отчет.xlsx"));
        ::_exit(told ? 0 : 1);
    }
    int status = 0;
    QCOMPARE(::waitpid(child, &status, 0), child);
    QVERIFY2(WIFEXITED(status) && WEXITSTATUS(status) == 0, "the failure was not reported");
    QCOMPARE(readAll(path), QByteArray("the report saved yesterday"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
}

void TestSaveFailures::crashBeforeRenameKeepsTheUsersFile_data() {
    QTest::addColumn<bool>("existing");
    QTest::newRow("replacing a file") << true;
    QTest::newRow("a new file") << false;
}

void TestSaveFailures::crashBeforeRenameKeepsTheUsersFile() {
    QFETCH(bool, existing);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Смета.xlsx"));
    if (existing) {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("the estimate saved yesterday");
    }
    const pid_t child = ::fork();
    if (child == 0) {
        setBeforeRenameHookForTests(&dieBeforeRename);
        (void)saveWorkbook(bigWorkbook(), path);
        ::_exit(0);
    }
    int status = 0;
    QCOMPARE(::waitpid(child, &status, 0), child);
    QVERIFY(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
    // Under the user's name: the old file whole, or nothing at all.
    if (existing)
        QCOMPARE(readAll(path), QByteArray("the estimate saved yesterday"));
    else
        QVERIFY(!QFile::exists(path));

    // The next save goes through and replaces it whole.
    QVERIFY(saveWorkbook(bigWorkbook(), path).ok());
    QVERIFY(readAll(path).startsWith("PK"));
}

QTEST_GUILESS_MAIN(TestSaveFailures)
#include "test_savefailures.moc"
