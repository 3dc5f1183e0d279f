// The whole road from the welcome window to the estimate workbook with the keyboard
// alone: every key goes to the control that has the focus, as it would for a user.

#include "dialogs.h"
#include "form0.h"
#include "guitest.h"
#include "infowindows.h"
#include "program.h"
#include "store.h"
#include "workbooksaver.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QtTest>

using namespace normativ;
using namespace normativ::test;

class TestKeyboard : public QObject {
    Q_OBJECT

  private slots:
    void startToEstimateWorkbook() {
        QTemporaryDir dir;
        QStringList opened;
        WorkbookSaver::setOpener([&](const QString& path) {
            opened << path;
            return true;
        });
        Program program(QLocale(QLocale::Russian, QLocale::Russia));
        program.start();

        QVERIFY(focusIn("Form8", "Command1"));
        press(Qt::Key_Space);
        // The start screen: the institution first, then the year, then the start button.
        QVERIFY(focusIn("Form0", "Combo1"));
        saveShot(&program.mainWindow(), QStringLiteral("keyboard-Form0-start"));
        typeText(QApplication::focusWidget(), QStringLiteral("Детский сад №5"));
        press(Qt::Key_Tab);
        QVERIFY(focusIn("Form0", "Combo2"));
        press(Qt::Key_Down);
        tabTo("Form0", "CommandButton3");
        press(Qt::Key_Return);

        const InstitutionRecord& record = program.store().record;
        answer(QStringLiteral("20"));
        answer(QStringLiteral("1"));
        // The settlement and the institution's kind: the first option, chosen by Space.
        for (int step : {3, 4}) {
            QCOMPARE(record.wizardStep, step);
            QVERIFY(focusIn("Form0", "Option1"));
            press(Qt::Key_Space);
            press(Qt::Key_Return);
        }
        // The introduction: Enter is "Далее".
        QVERIFY(focusIn("Form9", "Command1"));
        press(Qt::Key_Return);
        // The editor: one record of all pupils, the three kinds chosen by the arrow keys.
        QVERIFY(focusIn("Form10", "Combo1"));
        press(Qt::Key_Down);
        for (const char* next : {"Combo2", "Combo3"}) {
            press(Qt::Key_Tab);
            QVERIFY(focusIn("Form10", next));
            press(Qt::Key_Down);
        }
        press(Qt::Key_Tab);
        QVERIFY(focusIn("Form10", "Text1"));
        typeText(QApplication::focusWidget(), QStringLiteral("20"));
        saveShot(topLevel(QStringLiteral("Form10")), QStringLiteral("keyboard-Form10"));
        tabTo("Form10", "Command1");
        press(Qt::Key_Space);

        // Back in the main window at the months' question, ready to type.
        QCOMPARE(record.wizardStep, 25);
        QVERIFY(focusIn("Form0", "TextBox1"));
        answer(QStringLiteral("12"));
        answer(QStringLiteral("1500"));
        QCOMPARE(record.wizardStep, 55);
        QVERIFY(focusIn("Form0", "Option1"));
        press(Qt::Key_Space);
        press(Qt::Key_Return);

        // The results, the payroll estimate, the services estimate, the workbook.
        tabTo("Form0", "Command6");
        saveShot(&program.mainWindow(), QStringLiteral("keyboard-Form0-results"));
        press(Qt::Key_Space);
        saveShot(topLevel(QStringLiteral("Form6")), QStringLiteral("keyboard-Form6"));
        tabTo("Form6", "Command2");
        press(Qt::Key_Space);
        tabTo("Form7", "Command2");
        const QString path = dir.filePath(QStringLiteral("смета.xlsx"));
        Dialogs::setNextFileName(path);
        press(Qt::Key_Space);
        QCOMPARE(opened, QStringList{path});
        QVERIFY(QFileInfo(path).size() > 0);
        WorkbookSaver::setOpener({});
    }

  private:
    // The focus is in the named window, on the named control.
    static bool focusIn(const char* window, const char* name) {
        QWidget* top = topLevel(QLatin1String(window));
        if (!top || !top->isVisible()) {
            qWarning("%s is not shown", window);
            return false;
        }
        QApplication::setActiveWindow(top);
        QCoreApplication::processEvents();
        QWidget* focus = QApplication::focusWidget();
        // An editable combo box's text field speaks for the box.
        while (focus && focus->objectName().isEmpty()) focus = focus->parentWidget();
        const bool there = focus && focus->window() == top && focus->objectName() == name;
        if (!there)
            qWarning("focus on %s, not %s.%s", focus ? qPrintable(focus->objectName()) : "nothing",
                     window, name);
        return there;
    }

    static void press(Qt::Key key) {
        QWidget* target = QApplication::focusWidget();
        if (!target) target = QApplication::activeWindow();
        QVERIFY(target);
        QTest::keyClick(target, key);
        QCoreApplication::processEvents();
    }

    // Tab until the control has the focus, as a user looking at the screen would.
    static void tabTo(const char* window, const char* name) {
        // The payroll estimate's figures come before its buttons.
        for (int presses = 0; presses < 400; ++presses) {
            if (focusIn(window, name)) return;
            press(Qt::Key_Tab);
        }
        QFAIL(qPrintable(QStringLiteral("Tab never reaches %1.%2").arg(window, name)));
    }

    static void answer(const QString& typed) {
        QVERIFY(focusIn("Form0", "TextBox1"));
        typeText(QApplication::focusWidget(), typed);
        press(Qt::Key_Return);
    }
};

QTEST_MAIN(TestKeyboard)
#include "test_keyboard.moc"
