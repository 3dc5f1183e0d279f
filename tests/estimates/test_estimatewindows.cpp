#include "estimatefixtures.h"
#include "estimatetexts.h"
#include "estimatewindows.h"
#include "form6.h"
#include "form7.h"
#include "payrollestimate.h"
#include "servicesestimate.h"
#include "twips.h"
#include "windowchecks.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

using namespace normativ;
using namespace normativ::fixtures;
using namespace normativ::testing;

namespace {

/// One run's estimate windows with a stand-in main window and a counting export.
struct Run {
    explicit Run(Store s = standardStore()) : store(std::move(s)) {
        windows.setExportAction([this](QWidget* parent) {
            ++exports;
            exportParent = parent;
            exportedCopies = store.estimateCopies;
        });
    }
    Store store;
    std::unique_ptr<QWidget> main = makeMainStandIn();
    EstimateWindows windows{store, main.get()};
    int exports = 0;
    QWidget* exportParent = nullptr;
    EstimateCopies exportedCopies;

    Form6& form6() { return windows.form6(); }
    Form7& form7() { return windows.form7(); }
    QPushButton* button(QWidget& window, const char* name) {
        return window.findChild<QPushButton*>(name);
    }
    QString text(QWidget& window, const char* name) {
        return window.findChild<QLineEdit*>(name)->text();
    }
    void click(QWidget& window, const char* name) {
        QTest::mouseClick(button(window, name), Qt::LeftButton);
    }
    /// Opens the estimates as "Сформировать смету" does, then the services estimate.
    void openServices() {
        windows.openEstimates();
        click(form6(), "Command2");
    }
};

}  // namespace

class TestEstimateWindows : public QObject {
    Q_OBJECT
  private slots:
    void estimateOpensWithMainWindowDisabled();
    void closeButtonReturnsToMainWindow();
    void closeBoxUnloadsThePayrollWindow();
    void servicesEstimateTakesThePayrollCopy();
    void servicesButtonBackTakesTheServicesCopy();
    void servicesCloseBoxTakesNoCopyAndUnloads();
    void exportCopiesAndDisablesUntilNextVisit();
    void servicesWindowLayout();
    void servicesWindowDesignedGeometryWhenTheFontIsSmall();
};

void TestEstimateWindows::estimateOpensWithMainWindowDisabled() {
    Run run;
    run.windows.openEstimates();
    QVERIFY(!run.main->isEnabled());
    QVERIFY(run.form6().isVisible());
    QVERIFY(!run.form7().isVisible());
    const PayrollEstimate expected = computePayrollEstimate(run.store);
    QCOMPARE(run.text(run.form6(), "Text1"), expected.at(1, 1));
    QCOMPARE(run.text(run.form6(), "Text120"), expected.at(24, 1));
    QCOMPARE(run.text(run.form6(), "Text116"), expected.at(24, 5));
    QCOMPARE(run.text(run.form6(), "Text225"), QStringLiteral("10001600"));
    QCOMPARE(run.store.coefficients.groupWeightTable, expected.groupWeights);
}

void TestEstimateWindows::closeButtonReturnsToMainWindow() {
    Run run;
    run.windows.openEstimates();
    run.click(run.form6(), "Command1");
    QVERIFY(!run.form6().isVisible());
    QVERIFY(run.main->isEnabled());
    QTRY_COMPARE(QApplication::activeWindow(), run.main.get());
    // Hidden, not unloaded: the figures stay.
    QCOMPARE(run.text(run.form6(), "Text225"), QStringLiteral("10001600"));
}

void TestEstimateWindows::closeBoxUnloadsThePayrollWindow() {
    Run run;
    run.windows.openEstimates();
    QVERIFY(run.form6().close());
    QVERIFY(!run.form6().isVisible());
    QVERIFY(run.main->isEnabled());
    QTRY_COMPARE(QApplication::activeWindow(), run.main.get());
    // Shown again without a new estimate, every box would read its own name.
    QCOMPARE(run.text(run.form6(), "Text1"), QStringLiteral("Text1"));
    QCOMPARE(run.text(run.form6(), "Text116"), QStringLiteral("Text116"));
    QCOMPARE(run.text(run.form6(), "Text225"), QStringLiteral("Text225"));
    // A new estimate fills it again.
    run.windows.openEstimates();
    QVERIFY(!run.main->isEnabled());
    QCOMPARE(run.text(run.form6(), "Text225"), QStringLiteral("10001600"));
}

void TestEstimateWindows::servicesEstimateTakesThePayrollCopy() {
    Run run;
    run.windows.openEstimates();
    // The copy is of the grid as shown, typed changes included.
    run.form6().findChild<QLineEdit*>("Text3")->setText(QStringLiteral("17000"));
    run.click(run.form6(), "Command2");
    QVERIFY(run.form7().isVisible());
    QVERIFY(!run.form6().isVisible());
    QVERIFY(!run.main->isEnabled());
    const SavedPayrollEstimateText& copy = run.store.estimateCopies.payroll;
    QCOMPARE(copy.at(1, 3), QStringLiteral("17000"));
    QCOMPARE(copy.texts[115], run.text(run.form6(), "Text116"));
    QCOMPARE(copy.at(25, 5), QStringLiteral("10001600"));
    const ServicesEstimate expected = computeServicesEstimate(run.store, copy.at(25, 5));
    for (int n = 121; n <= 134; ++n) {
        const QByteArray name = "Text" + QByteArray::number(n);
        QCOMPARE(run.text(run.form7(), name.constData()), expected.box(n));
    }
    QCOMPARE(run.text(run.form7(), "Text134"), QStringLiteral("6063986"));
}

void TestEstimateWindows::servicesButtonBackTakesTheServicesCopy() {
    Run run;
    run.openServices();
    run.click(run.form7(), "Command1");
    QVERIFY(run.form6().isVisible());
    QVERIFY(!run.form7().isVisible());
    QVERIFY(!run.main->isEnabled());
    QTRY_COMPARE(QApplication::activeWindow(), &run.form6());
    const SavedServicesEstimateText& copy = run.store.estimateCopies.services;
    QCOMPARE(copy.box(121), QStringLiteral("9039"));
    QCOMPARE(copy.box(132), QStringLiteral("2938445,45"));
    QCOMPARE(copy.box(133), QStringLiteral("63831"));
    QCOMPARE(copy.grandTotal, Currency::fromWhole(6063986));
    // Payroll figures stay; "Закрыть" then gives the main window back.
    QCOMPARE(run.text(run.form6(), "Text225"), QStringLiteral("10001600"));
    run.click(run.form6(), "Command1");
    QVERIFY(run.main->isEnabled());
}

void TestEstimateWindows::servicesCloseBoxTakesNoCopyAndUnloads() {
    Run run;
    run.openServices();
    QVERIFY(run.form7().close());
    QVERIFY(run.form6().isVisible());
    QVERIFY(!run.form7().isVisible());
    QVERIFY(!run.main->isEnabled());
    QTRY_COMPARE(QApplication::activeWindow(), &run.form6());
    QCOMPARE(run.store.estimateCopies.services.box(121), QString());
    QCOMPARE(run.store.estimateCopies.services.grandTotal, Currency());
    QCOMPARE(run.text(run.form7(), "Text121"), QStringLiteral("Text121"));
    QCOMPARE(run.text(run.form7(), "Text134"), QStringLiteral("Text134"));
    // Opening it again computes it again.
    run.click(run.form6(), "Command2");
    QCOMPARE(run.text(run.form7(), "Text134"), QStringLiteral("6063986"));
}

void TestEstimateWindows::exportCopiesAndDisablesUntilNextVisit() {
    Run run(ownFiguresStore());
    run.openServices();
    QPushButton* exportButton = run.button(run.form7(), "Command2");
    QCOMPARE(exportButton->text(), QStringLiteral("Сформировать сметы в формате Excel"));
    QVERIFY(exportButton->isEnabled());
    run.click(run.form7(), "Command2");
    QCOMPARE(run.exports, 1);
    QCOMPARE(run.exportParent, &run.form7());
    QVERIFY(!exportButton->isEnabled());
    // The export reads both copies: the payroll grid and the services as shown.
    QCOMPARE(run.exportedCopies.payroll.at(25, 5), QStringLiteral("16887924"));
    QCOMPARE(run.exportedCopies.payroll.at(24, 1), run.text(run.form6(), "Text120"));
    QCOMPARE(run.exportedCopies.services.box(123), QStringLiteral("см. пр. расх."));
    QCOMPARE(run.exportedCopies.services.box(131), QStringLiteral("-73285"));
    QCOMPARE(run.exportedCopies.services.grandTotal, Currency::fromWhole(-3551353));
    // A disabled button does nothing.
    run.click(run.form7(), "Command2");
    QCOMPARE(run.exports, 1);
    // Closing by the box and reopening gives a freshly loaded window: enabled again.
    QVERIFY(run.form7().close());
    run.click(run.form6(), "Command2");
    QVERIFY(exportButton->isEnabled());
    run.click(run.form7(), "Command2");
    QCOMPARE(run.exports, 2);
    // "Смета по оплате труда" enables it for the next visit.
    run.click(run.form7(), "Command1");
    QVERIFY(exportButton->isEnabled());
}

void TestEstimateWindows::servicesWindowLayout() {
    Run run(ownFiguresStore());
    run.openServices();
    Form7& form = run.form7();
    QCOMPARE(form.objectName(), QStringLiteral("Form7"));
    QCOMPARE(form.windowTitle(),
             QStringLiteral("Рекомендуемая для учреждения смета по приобретению услуг"));
    const QStringList captions{"Label8", "Label1", "Label2", "Label3",
                               "Label4", "Label7", "Label9"};
    for (int line = 1; line <= 7; ++line) {
        auto* caption = form.findChild<QLabel*>(captions[line - 1]);
        QCOMPARE(caption->text(), estimateTexts().servicesLineCaptions[line - 1]);
        const auto box = [&](int n) {
            return form.findChild<QLineEdit*>(QStringLiteral("Text%1").arg(n))->geometry();
        };
        QCOMPARE(box(119 + 2 * line).y(), caption->y());
        QCOMPARE(box(120 + 2 * line).y(), caption->y());
        QVERIFY(box(119 + 2 * line).right() < box(120 + 2 * line).left());
    }
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    saveShot(&form, QStringLiteral("form7-own-figures"));
    const QStringList cut = cutOffTexts(&form);
    QVERIFY2(cut.isEmpty(), qPrintable(cut.join(' ')));
}

void TestEstimateWindows::servicesWindowDesignedGeometryWhenTheFontIsSmall() {
    const QFont normal = QApplication::font();
    QFont small = normal;
    small.setPointSize(6);
    QApplication::setFont(small);
    Store store = standardStore();
    Form7 form(store);
    QApplication::setFont(normal);
    const auto at = [&](const char* name) { return form.findChild<QWidget*>(name)->geometry(); };
    QCOMPARE(at("Label5"), QRect(twips(9120), twips(240), twips(1335), twips(615)));
    QCOMPARE(at("Label6"), QRect(twips(10560), twips(360), twips(1335), twips(495)));
    QCOMPARE(at("Label8"), QRect(twips(480), twips(960), twips(8415), twips(285)));
    QCOMPARE(at("Text121"), QRect(twips(9120), twips(960), twips(1335), twips(285)));
    QCOMPARE(at("Text134"), QRect(twips(10560), twips(3120), twips(1335), twips(285)));
    QCOMPARE(at("Command1"), QRect(twips(3000), twips(5640), twips(2895), twips(615)));
    QCOMPARE(at("Command2"), QRect(twips(6360), twips(5640), twips(2895), twips(615)));
    QCOMPARE(cutOffTexts(&form), QStringList());
}

QTEST_MAIN(TestEstimateWindows)
#include "test_estimatewindows.moc"
