// Every window on the screen it is run on (the test runs once per screen size and
// scaling): the window's frame within the screen's available area, and every button it
// shows reachable - on the window, or scrolled into view - and hit by a click at its
// middle.

#include "distributionwindows.h"
#include "estimatewindows.h"
#include "form0.h"
#include "form10.h"
#include "form11.h"
#include "form3.h"
#include "form6.h"
#include "form7.h"
#include "form9.h"
#include "guitest.h"
#include "infowindows.h"
#include "program.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QtTest>

using namespace normativ;
using namespace normativ::test;

namespace {

QScrollArea* enclosingScrollArea(QWidget* widget) {
    for (QWidget* w = widget->parentWidget(); w; w = w->parentWidget()) {
        if (auto* area = qobject_cast<QScrollArea*>(w)) return area;
    }
    return nullptr;
}

}  // namespace

class TestScreens : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() {
        const QScreen* screen = QGuiApplication::primaryScreen();
        qInfo("screen %dx%d logical, scale %.2f, available %dx%d", screen->size().width(),
              screen->size().height(), screen->devicePixelRatio(),
              screen->availableGeometry().width(), screen->availableGeometry().height());
    }

    void everyWindowFits() {
        Program program;
        program.start();
        check(&program.welcomeWindow());
        QTest::mouseClick(control<QPushButton>(&program.welcomeWindow(), "Command1"),
                          Qt::LeftButton);
        QWidget* form0 = &program.mainWindow();
        check(form0);

        for (const char* info : {"Command3", "Command5"}) {
            QTest::mouseClick(control<QPushButton>(form0, info), Qt::LeftButton);
            QWidget* window = QApplication::activeModalWidget();
            if (!window) window = visibleTopLevel({"Form4", "Form5"});
            QVERIFY(window);
            check(window);
            window->close();
        }

        QTest::mouseClick(control<QPushButton>(form0, "Command9"), Qt::LeftButton);
        check(&program.summaryWindow());
        program.summaryWindow().close();

        program.loaderWindow().openLoader();
        check(&program.loaderWindow());
        program.loaderWindow().close();

        program.distributionWindows().form10().openOnFirstRecord();
        check(&program.distributionWindows().form10());
        program.distributionWindows().form10().hide();
        for (QWidget* window : std::initializer_list<QWidget*>{
                 &program.distributionWindows().form9(), &program.estimateWindows().form6(),
                 &program.estimateWindows().form7()}) {
            window->show();
            check(window);
            window->hide();
        }

        // The question steps and the help window.
        auto* institution = control<QComboBox>(form0, "Combo1");
        institution->setEditText(QStringLiteral("Детский сад №1"));
        control<QComboBox>(form0, "Combo2")->setCurrentIndex(0);
        form0->show();
        QTest::mouseClick(control<QPushButton>(form0, "CommandButton3"), Qt::LeftButton);
        check(form0);
        QTest::mouseClick(control<QPushButton>(form0, "Command1"), Qt::LeftButton);
        QWidget* help = visibleTopLevel({"Form2"});
        QVERIFY(help);
        check(help);
        help->close();
    }

  private:
    // Tab goes through the controls as they are read: row by row from the top, each row
    // from the left.
    static void checkTabOrder(QWidget* window) {
        constexpr int kSameRow = 8;
        QWidget* previous = nullptr;
        QPoint previousAt;
        for (QWidget* w = window->nextInFocusChain(); w && w != window; w = w->nextInFocusChain()) {
            if (!w->isVisibleTo(window) || !w->isEnabled() || !(w->focusPolicy() & Qt::TabFocus) ||
                w->focusProxy() || w->objectName().isEmpty())
                continue;
            const QPoint at = w->mapTo(window, QPoint(0, 0));
            // Controls scrolled out of sight have no place on the screen to compare.
            if (!window->rect().intersects(QRect(at, w->size()))) continue;
            // Nor have those under a strip that stays in view above them.
            if (window->childAt(at + QPoint(w->width() / 2, w->height() / 2)) != w) continue;
            if (previous) {
                const bool below = at.y() > previousAt.y() + kSameRow;
                const bool right =
                    std::abs(at.y() - previousAt.y()) <= kSameRow && at.x() > previousAt.x();
                // The top of the next column, right of the previous control.
                const bool nextColumn = at.x() >= previousAt.x() + previous->width();
                QVERIFY2(below || right || nextColumn,
                         qPrintable(QStringLiteral("%1: %2 (%3,%4) after %5 (%6,%7)")
                                        .arg(window->objectName(), w->objectName())
                                        .arg(at.x())
                                        .arg(at.y())
                                        .arg(previous->objectName())
                                        .arg(previousAt.x())
                                        .arg(previousAt.y())));
            }
            previous = w;
            previousAt = at;
        }
    }

    // Every control that takes input is named for a screen reader.
    static void checkAccessibleNames(QWidget* window) {
        for (QWidget* w : window->findChildren<QWidget*>()) {
            if (!w->isVisibleTo(window) || w->objectName().isEmpty()) continue;
            const bool input = qobject_cast<QLineEdit*>(w) || qobject_cast<QComboBox*>(w) ||
                               qobject_cast<QAbstractItemView*>(w);
            const auto* button = qobject_cast<QAbstractButton*>(w);
            if (input) {
                QVERIFY2(!w->accessibleName().isEmpty(),
                         qPrintable(window->objectName() + "." + w->objectName()));
            } else if (button) {
                QVERIFY2(!button->text().isEmpty() || !w->accessibleName().isEmpty(),
                         qPrintable(window->objectName() + "." + w->objectName()));
            }
        }
    }

    static QWidget* visibleTopLevel(std::initializer_list<const char*> names) {
        for (const char* name : names) {
            QWidget* w = topLevel(QLatin1String(name));
            if (w && w->isVisible()) return w;
        }
        return nullptr;
    }

    void check(QWidget* window) {
        QVERIFY(window->isVisible());
        QCoreApplication::processEvents();
        const QString name = window->objectName();
        saveShot(window, QStringLiteral("screen-") + name);
        const QRect available = window->screen()->availableGeometry();
        QVERIFY2(available.contains(window->frameGeometry()),
                 qPrintable(QStringLiteral("%1: frame %2,%3 %4x%5 on %6x%7")
                                .arg(name)
                                .arg(window->frameGeometry().x())
                                .arg(window->frameGeometry().y())
                                .arg(window->frameGeometry().width())
                                .arg(window->frameGeometry().height())
                                .arg(available.width())
                                .arg(available.height())));
        checkTabOrder(window);
        checkAccessibleNames(window);
        for (QAbstractButton* button : window->findChildren<QAbstractButton*>()) {
            if (!button->isVisibleTo(window) || button->objectName().isEmpty()) continue;
            if (QScrollArea* area = enclosingScrollArea(button)) area->ensureWidgetVisible(button);
            QCoreApplication::processEvents();
            const QPoint middle = button->mapTo(window, button->rect().center());
            QWidget* hit = window->childAt(middle);
            const QString where = name + QLatin1Char('.') + button->objectName();
            QVERIFY2(window->rect().contains(middle), qPrintable(where + " outside the window"));
            QVERIFY2(hit == button || button->isAncestorOf(hit),
                     qPrintable(where + " covered by " + (hit ? hit->objectName() : "nothing")));
        }
    }
};

QTEST_MAIN(TestScreens)
#include "test_screens.moc"
