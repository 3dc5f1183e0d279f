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

QTEST_MAIN(TestForm6)
#include "test_form6.moc"
