#include "estimatefixtures.h"
#include "form6.h"
#include "payrollestimate.h"
#include "twips.h"
#include "windowchecks.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QtTest>

using namespace normativ;
using namespace normativ::fixtures;
using namespace normativ::testing;

class TestForm6 : public QObject {
    Q_OBJECT
  private slots:
    void controlsAndCaptions();
    void designedGeometryWhenTheFontIsSmall();
    void estimateFillsTheGrid();
    void nothingIsCutOff();
    void largeWindowShowsNoScrollBar();
    void smallWindowSnaps_data();
    void smallWindowSnaps();
    void scrollingToTheEndShowsLastRowAndButtons();
    void scrollBarSteps();
    void buttonsStayInView_data();
    void buttonsStayInView();
    void opensFittingTheScreenAndReopensAsDesigned_data();
    void opensFittingTheScreenAndReopensAsDesigned();
    void scrollBarKeysFollowTheBar_data();
    void scrollBarKeysFollowTheBar();
    void focusedControlIsScrolledIntoView();

  private:
    struct Fixture {
        Store store = standardStore();
        Form6 form{store};
        QFrame* frame() { return form.findChild<QFrame*>("Frame1"); }
        QScrollBar* bar(const char* name) { return form.findChild<QScrollBar*>(name); }
    };
    static void settle(QWidget& w) {
        QCoreApplication::processEvents();
        Q_UNUSED(w);
    }
    /// The part of the window the grid shows: without the bars.
    static QRect view(Fixture& f) {
        QScrollBar* v = f.bar("VScroll1");
        QScrollBar* h = f.bar("HScroll1");
        return QRect(0, 0, f.form.width() - (v->isVisible() ? v->width() : 0),
                     f.form.height() - (h->isVisible() ? h->height() : 0));
    }
    /// Whether a control lies whole within the view and a click at its middle reaches it.
    static bool reachable(Fixture& f, const char* name) {
        auto* w = f.form.findChild<QWidget*>(name);
        const QRect onWindow(w->mapTo(&f.form, QPoint(0, 0)), w->size());
        return view(f).contains(onWindow) && f.form.childAt(onWindow.center()) == w;
    }
};

void TestForm6::controlsAndCaptions() {
    Fixture f;
    QCOMPARE(f.form.objectName(), QStringLiteral("Form6"));
    QCOMPARE(f.form.windowTitle(),
             QStringLiteral("Рекомендуемая для учреждения смета по оплате труда"));
    QVERIFY(f.frame());
    QCOMPARE(f.frame()->findChildren<QLabel*>().size(), 30);
    QCOMPARE(f.frame()->findChildren<QLineEdit*>().size(), 125);
    // Row captions by their names; each row's boxes level with its caption, the service
    // staff row numbered from right to left.
    QCOMPARE(f.form.findChild<QLabel*>("Label1")->text(), QStringLiteral("Воспитатели"));
    QCOMPARE(f.form.findChild<QLabel*>("Label32")->text(), QStringLiteral("Социальные педагоги"));
    QCOMPARE(f.form.findChild<QLabel*>("Label31")->text(),
             QStringLiteral("Оплата труда персонала ДОУ (всего)"));
    QCOMPARE(f.form.findChild<QLabel*>("Label11")->text(),
             QStringLiteral("  количество      ставок на воспитанника"));
    QCOMPARE(f.form.findChild<QLabel*>("Label7")->text(),
             QStringLiteral("объем расходов (всего), рублей"));
    const auto at = [&](const QString& name) {
        return f.form.findChild<QWidget*>(name)->geometry();
    };
    QCOMPARE(at("Label1").y(), at("Text1").y());
    QCOMPARE(at("Label32").y(), at("Text36").y());
    QCOMPARE(at("Label28").y(), at("Text120").y());
    QCOMPARE(at("Label31").y(), at("Text221").y());
    QCOMPARE(at("Text120").x(), at("Text1").x());
    QCOMPARE(at("Text116").x(), at("Text5").x());
    QCOMPARE(at("Text225").x(), at("Text5").x());
    QCOMPARE(at("Text119").x(), at("Text2").x());
    for (int c = 1; c < 5; ++c) {
        QVERIFY(at(QStringLiteral("Text%1").arg(c)).right() <
                at(QStringLiteral("Text%1").arg(c + 1)).left());
    }
    QCOMPARE(at("Text6").y() - at("Text1").y(), at("Text221").y() - at("Text120").y());
    QVERIFY(at("Command1").top() > at("Text221").bottom());
    QCOMPARE(f.form.findChild<QPushButton*>("Command1")->text(), QStringLiteral("Закрыть"));
    QCOMPARE(f.form.findChild<QPushButton*>("Command2")->text(),
             QStringLiteral("Смета по приобретению услуг"));
    QVERIFY(f.bar("VScroll1") && f.bar("HScroll1"));
    QVERIFY(f.bar("VScroll1")->parent() == &f.form);
    // Before any estimate every box shows its own name.
    QCOMPARE(f.form.findChild<QLineEdit*>("Text221")->text(), QStringLiteral("Text221"));
    // A screen reader names a box by its row and column (the service staff row runs
    // from right to left).
    QCOMPARE(f.form.findChild<QLineEdit*>("Text116")->accessibleName(),
             QStringLiteral("Обслуживающий персонал (всего)"));
    QCOMPARE(f.form.findChild<QLineEdit*>("Text116")->accessibleDescription(),
             QStringLiteral("объем расходов (всего), рублей"));
    QCOMPARE(f.form.findChild<QLineEdit*>("Text1")->accessibleDescription(),
             QStringLiteral("количество ставок на воспитанника"));
}

void TestForm6::designedGeometryWhenTheFontIsSmall() {
    const QFont normal = QApplication::font();
    QFont small = normal;
    small.setPointSize(6);
    QApplication::setFont(small);
    Fixture f;
    QApplication::setFont(normal);
    const auto at = [&](const char* name) { return f.form.findChild<QWidget*>(name)->geometry(); };
    QCOMPARE(f.frame()->geometry(), QRect(0, -8, twips(11535), twips(10680)));
    QCOMPARE(at("Text1"), QRect(twips(5280), twips(720), twips(975), twips(285)));
    QCOMPARE(at("Text120"), QRect(twips(5280), twips(720 + 360 * 23), twips(975), twips(285)));
    QCOMPARE(at("Text116").x(), twips(9960));
    QCOMPARE(at("Text225"), QRect(twips(9960), twips(720 + 360 * 24), twips(1335), twips(285)));
    QCOMPARE(at("Label1"), QRect(twips(240), twips(720), twips(5175), twips(255)));
    QCOMPARE(at("Label31").y(), twips(720 + 360 * 24));
    QCOMPARE(at("Label11"), QRect(twips(5205), twips(120), twips(1095), twips(600)));
    QCOMPARE(at("Label7"), QRect(twips(9960), twips(240), twips(1335), twips(480)));
    QCOMPARE(at("Command1"), QRect(twips(2280), twips(9840), twips(2895), twips(615)));
    QCOMPARE(at("Command2"), QRect(twips(6120), twips(9840), twips(2895), twips(615)));
    QCOMPARE(cutOffTexts(&f.form), QStringList());
}

void TestForm6::estimateFillsTheGrid() {
    Fixture f;
    const PayrollEstimate estimate = computePayrollEstimate(f.store);
    f.form.showEstimate(estimate);
    const SavedPayrollEstimateText shown = f.form.gridTexts();
    for (int r = 1; r <= 25; ++r) {
        for (int c = 1; c <= 5; ++c) QCOMPARE(shown.at(r, c), estimate.at(r, c));
    }
    QCOMPARE(f.form.findChild<QLineEdit*>("Text120")->text(), estimate.at(24, 1));
    QCOMPARE(f.form.findChild<QLineEdit*>("Text116")->text(), estimate.at(24, 5));
    QCOMPARE(f.form.findChild<QLineEdit*>("Text225")->text(), QStringLiteral("10001600"));
}

void TestForm6::nothingIsCutOff() {
    Fixture f;
    f.form.showEstimate(computePayrollEstimate(f.store));
    f.form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f.form));
    saveShot(&f.form, QStringLiteral("form6-top"));
    const QStringList cut = cutOffTexts(&f.form);
    QVERIFY2(cut.isEmpty(), qPrintable(cut.join(' ')));
}

void TestForm6::largeWindowShowsNoScrollBar() {
    Fixture f;
    f.form.show();
    f.form.resize(f.frame()->width() + 10, f.frame()->height() + 10);
    QTRY_VERIFY(!f.bar("VScroll1")->isVisible());
    QVERIFY(!f.bar("HScroll1")->isVisible());
    // Taller but narrower: only the horizontal bar.
    f.form.resize(f.frame()->width() - 100, f.frame()->height() + 40);
    QTRY_VERIFY(f.bar("HScroll1")->isVisible());
    QVERIFY(!f.bar("VScroll1")->isVisible());
}

void TestForm6::smallWindowSnaps_data() {
    QTest::addColumn<QSize>("size");
    QTest::newRow("too narrow") << QSize(twips(500), 400);
    QTest::newRow("too low") << QSize(600, twips(500));
    QTest::newRow("both") << QSize(10, 10);
}

void TestForm6::smallWindowSnaps() {
    QFETCH(QSize, size);
    Fixture f;
    f.form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f.form));
    f.form.resize(size);
    QTRY_COMPARE(f.form.frameGeometry().size(), twipsSize(1800, 1500));
    // Both bars then move the frame.
    QVERIFY(f.bar("VScroll1")->isVisible());
    QVERIFY(f.bar("HScroll1")->isVisible());
}

void TestForm6::scrollingToTheEndShowsLastRowAndButtons() {
    Fixture f;
    f.form.showEstimate(computePayrollEstimate(f.store));
    f.form.show();
    f.form.resize(500, 360);
    QTRY_VERIFY(f.bar("VScroll1")->isVisible());
    QScrollBar* v = f.bar("VScroll1");
    QScrollBar* h = f.bar("HScroll1");
    QVERIFY(h->isVisible());
    const QRect view(0, 0, f.form.width() - v->width(), f.form.height() - h->height());
    QCOMPARE(v->maximum(), 0);
    QCOMPARE(v->minimum(), view.height() - f.frame()->height());
    // Towards the end the value falls and the frame moves up by as much.
    QTest::keyClick(v, Qt::Key_Down);
    QCOMPARE(v->value(), -v->singleStep());
    QCOMPARE(f.frame()->y(), -v->singleStep());
    QTest::keyClick(h, Qt::Key_Right);
    QCOMPARE(h->value(), -h->singleStep());
    QCOMPARE(f.frame()->x(), -h->singleStep());
    QWheelEvent wheel(QPointF(10, 10), f.form.mapToGlobal(QPointF(10, 10)), QPoint(),
                      QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    // (A real wheel event over a box reaches the window; a synthesized one does not.)
    QCoreApplication::sendEvent(&f.form, &wheel);
    QVERIFY(v->value() < -v->singleStep());
    QCOMPARE(f.frame()->y(), v->value());
    v->setValue(v->minimum());
    h->setValue(h->minimum());
    QCOMPARE(f.frame()->y(), view.height() - f.frame()->height());
    QCOMPARE(f.frame()->x(), view.width() - f.frame()->width());
    saveShot(&f.form, QStringLiteral("form6-scrolled"));
    // The last row and the buttons come into view from below, the last column from the
    // right.
    for (const char* name : {"Label31", "Text221", "Text225", "Command1", "Command2"}) {
        auto* w = f.form.findChild<QWidget*>(name);
        const QRect onWindow(w->mapTo(&f.form, QPoint(0, 0)), w->size());
        QVERIFY2(onWindow.top() >= 0 && onWindow.bottom() <= view.bottom(), name);
    }
    for (const char* name : {"Text225", "Command2", "Label7"}) {
        auto* w = f.form.findChild<QWidget*>(name);
        const QRect onWindow(w->mapTo(&f.form, QPoint(0, 0)), w->size());
        QVERIFY2(onWindow.left() >= 0 && onWindow.right() <= view.right(), name);
    }
}

void TestForm6::scrollBarSteps() {
    Fixture f;
    f.form.show();
    f.form.resize(f.frame()->width() + 40, 400);
    QTRY_VERIFY(f.bar("VScroll1")->isVisible());
    QScrollBar* v = f.bar("VScroll1");
    const int content = f.frame()->height();
    QCOMPARE(v->singleStep(), qRound((content - 400) / 20.0));
    QCOMPARE(v->pageStep(), qRound(400.0 * 400 / content));
    QCOMPARE(v->geometry(), QRect(f.form.width() - v->width(), 0, v->width(), 400));
}

void TestForm6::buttonsStayInView_data() {
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");  // 0: the grid's whole height
    QTest::addColumn<bool>("scrolledToTheEnd");
    QTest::newRow("whole grid") << 0 << 0 << false;
    QTest::newRow("600 high") << 0 << 600 << false;
    QTest::newRow("600 high, scrolled to the end") << 0 << 600 << true;
    QTest::newRow("500x360") << 500 << 360 << false;
    QTest::newRow("500x300, scrolled to the end") << 500 << 300 << true;
}

void TestForm6::buttonsStayInView() {
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(bool, scrolledToTheEnd);
    Fixture f;
    f.form.showEstimate(computePayrollEstimate(f.store));
    const QRect designed1 = f.form.findChild<QWidget*>("Command1")->geometry();
    const QRect designed2 = f.form.findChild<QWidget*>("Command2")->geometry();
    f.form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f.form));
    // The frame's empty top strip lies above the window.
    const int wholeHeight = f.frame()->height() + f.frame()->y();
    const QSize size(width ? width : f.frame()->width() + 40, height ? height : wholeHeight);
    f.form.resize(size);
    QTRY_COMPARE(f.form.size(), size);
    QScrollBar* v = f.bar("VScroll1");
    QScrollBar* h = f.bar("HScroll1");
    QCOMPARE(v->isVisible(), height != 0);
    if (scrolledToTheEnd) {
        v->setValue(v->minimum());
        h->setValue(h->minimum());
    }
    QVERIFY(reachable(f, "Command1"));
    QVERIFY(reachable(f, "Command2"));
    if (height == 0 || scrolledToTheEnd) {
        // Nothing covers the last row; the buttons are at their designed height (and
        // place, where the window is wide enough).
        QVERIFY(reachable(f, "Text221"));
        QVERIFY(reachable(f, "Text225"));
        const QRect at1 = f.form.findChild<QWidget*>("Command1")->geometry();
        const QRect at2 = f.form.findChild<QWidget*>("Command2")->geometry();
        QCOMPARE(at1.y(), designed1.y());
        QCOMPARE(at2.y(), designed2.y());
        if (width == 0) {
            QCOMPARE(at1, designed1);
            QCOMPARE(at2, designed2);
        }
    } else {
        // The first row is in view, the last one hidden beneath the buttons.
        QVERIFY(reachable(f, "Text1"));
        QVERIFY(!reachable(f, "Text221"));
    }
    saveShot(&f.form, QStringLiteral("form6-%1x%2%3")
                          .arg(f.form.width())
                          .arg(f.form.height())
                          .arg(scrolledToTheEnd ? "-end" : ""));
    QTest::mouseClick(f.form.findChild<QPushButton*>("Command1"), Qt::LeftButton);
    QVERIFY(!f.form.isVisible());
}

void TestForm6::opensFittingTheScreenAndReopensAsDesigned_data() {
    QTest::addColumn<bool>("byCloseButton");
    QTest::newRow("Закрыть") << true;
    QTest::newRow("the window's close box") << false;
}

void TestForm6::opensFittingTheScreenAndReopensAsDesigned() {
    QFETCH(bool, byCloseButton);
    Fixture f;
    f.form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f.form));
    const QSize opened = f.form.size();
    const QRect available = f.form.screen()->availableGeometry();
    // The whole grid: its frame's empty top strip lies above the window.
    const QSize whole(f.frame()->width(), f.frame()->height() + f.frame()->y());
    // A frame and title bar take less than this.
    constexpr int kFrameRoom = 64;
    QVERIFY(available.contains(f.form.frameGeometry()));
    if (whole.height() + kFrameRoom <= available.height()) {
        QCOMPARE(opened, whole);
        QVERIFY(!f.bar("VScroll1")->isVisible());
    } else {
        // As tall as the screen allows, the grid's whole width beside the bar.
        QVERIFY(opened.height() >= available.height() - kFrameRoom);
        QCOMPARE(opened.width(), whole.width() + f.bar("VScroll1")->width());
        QVERIFY(f.bar("VScroll1")->isVisible());
    }
    QVERIFY(!f.bar("HScroll1")->isVisible());
    QVERIFY(reachable(f, "Command1"));
    QVERIFY(reachable(f, "Command2"));

    f.form.resize(500, 300);
    QTRY_COMPARE(f.form.size(), QSize(500, 300));
    if (byCloseButton) {
        QTest::mouseClick(f.form.findChild<QPushButton*>("Command1"), Qt::LeftButton);
    } else {
        QVERIFY(f.form.close());
    }
    QVERIFY(!f.form.isVisible());
    f.form.show();
    QTRY_COMPARE(f.form.size(), opened);
    QVERIFY(reachable(f, "Command2"));
}

namespace {
/// Where a key moves a bar from its middle.
enum To { Start, End, Steps };
}  // namespace

void TestForm6::scrollBarKeysFollowTheBar_data() {
    QTest::addColumn<QString>("barName");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("to");
    // For Steps: the single and page steps towards the start (the top, the left).
    QTest::addColumn<int>("singleSteps");
    QTest::addColumn<int>("pageSteps");
    struct Case {
        const char* key;
        Qt::Key code;
        To to;
        int singleSteps;
        int pageSteps;
    };
    const Case cases[] = {
        {"Home", Qt::Key_Home, Start, 0, 0},     {"End", Qt::Key_End, End, 0, 0},
        {"Up", Qt::Key_Up, Steps, 1, 0},         {"Left", Qt::Key_Left, Steps, 1, 0},
        {"Down", Qt::Key_Down, Steps, -1, 0},    {"Right", Qt::Key_Right, Steps, -1, 0},
        {"PageUp", Qt::Key_PageUp, Steps, 0, 1}, {"PageDown", Qt::Key_PageDown, Steps, 0, -1},
    };
    for (const char* bar : {"VScroll1", "HScroll1"}) {
        for (const Case& c : cases) {
            QTest::addRow("%s %s", bar, c.key) << QString::fromLatin1(bar) << int(c.code)
                                               << int(c.to) << c.singleSteps << c.pageSteps;
        }
    }
}

void TestForm6::scrollBarKeysFollowTheBar() {
    QFETCH(QString, barName);
    QFETCH(int, key);
    QFETCH(int, to);
    QFETCH(int, singleSteps);
    QFETCH(int, pageSteps);
    Fixture f;
    f.form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f.form));
    f.form.resize(400, 360);
    QTRY_VERIFY(f.bar("VScroll1")->isVisible() && f.bar("HScroll1")->isVisible());
    QScrollBar* bar = f.bar(qPrintable(barName));
    const bool vertical = bar->orientation() == Qt::Vertical;
    // At the start the frame's top (left) edge is at the view's, at the end its bottom
    // (right) edge.
    const int viewLength = vertical ? view(f).height() : view(f).width();
    const int content = vertical ? f.frame()->height() : f.frame()->width();
    const int end = viewLength - content;
    QCOMPARE(bar->minimum(), end);
    QCOMPARE(bar->maximum(), 0);
    const int middle = end / 2;
    bar->setValue(middle);
    QVERIFY(middle + bar->pageStep() < 0 && middle - bar->pageStep() > end);

    // The keyboard reaches the bars: after the buttons, before the grid's first box.
    QWidget* before = f.form.findChild<QWidget*>(vertical ? "Command2" : "Text1");
    before->setFocus();
    QTest::keyClick(before, Qt::Key_Tab, vertical ? Qt::NoModifier : Qt::ShiftModifier);
    QCOMPARE(f.form.focusWidget(), bar);

    QTest::keyClick(bar, Qt::Key(key));
    const int expected =
        to == Start ? 0
        : to == End ? end
                    : middle + singleSteps * bar->singleStep() + pageSteps * bar->pageStep();
    QCOMPARE(bar->value(), expected);
    QCOMPARE(vertical ? f.frame()->y() : f.frame()->x(), expected);
}

void TestForm6::focusedControlIsScrolledIntoView() {
    Fixture f;
    f.form.show();
    f.form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&f.form));
    f.form.resize(500, 360);
    QTRY_VERIFY(f.bar("VScroll1")->isVisible() && f.bar("HScroll1")->isVisible());
    // The last row (beneath the buttons), back to the top, the far corner, a button.
    for (const char* name : {"Text221", "Text1", "Text225", "Text120", "Command2", "Text5"}) {
        f.form.findChild<QWidget*>(name)->setFocus(Qt::TabFocusReason);
        QTRY_VERIFY2(reachable(f, name), name);
    }
}

QTEST_MAIN(TestForm6)
#include "test_form6.moc"
