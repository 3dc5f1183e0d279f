#include "closeguard.h"
#include "distributiontesting.h"
#include "distributionwindows.h"
#include "form10.h"
#include "form9.h"
#include "store.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>
#include <memory>

using namespace normativ;
using namespace normativ::test;

class TestForm9 : public QObject {
    Q_OBJECT

  private slots:
    void init();
    void cleanup();
    void textsAsWritten();
    void nextOpensEditorOnFirstRecord_data();
    void nextOpensEditorOnFirstRecord();
    void openingAgainStartsOnFirstRecord();
    void backReturnsToKindQuestion();
    void nothingIsCutOff();
    void closeBoxEndsTheProgram();

  private:
    QWidget* form9() { return &rig_->windows.form9(); }
    QWidget* form10() { return &rig_->windows.form10(); }
    QString form10Text(const char* name) {
        if (auto* label = form10()->findChild<QLabel*>(QLatin1String(name))) return label->text();
        if (auto* combo = form10()->findChild<QComboBox*>(QLatin1String(name))) {
            return combo->currentText();
        }
        if (auto* box = form10()->findChild<QLineEdit*>(QLatin1String(name))) return box->text();
        return control<QPushButton>(form10(), name)->text();
    }

    std::unique_ptr<DistributionRig> rig_;
};

void TestForm9::init() {
    resetEndProgramRequests();
    rig_ = std::make_unique<DistributionRig>();
    rig_->windows.openIntroduction();
}

void TestForm9::cleanup() {
    rig_.reset();
}

void TestForm9::textsAsWritten() {
    QVERIFY(form9()->isVisible());
    QVERIFY(!rig_->main.isVisible());
    QVERIFY(!form10()->isVisible());
    QCOMPARE(form9()->windowTitle(), QStringLiteral("Распределение воспитанников учреждения"));
    const std::pair<const char*, QString> texts[] = {
        {"Label6",
         QStringLiteral(
             "Для расчета среднего значения норматива затрат на оказание услуг по обучению и "
             "содержанию детей в конкретном дошкольном образовательном учреждении Вам "
             "предлагается ввести данные по распределению воспитанников по группам в "
             "зависимости от их направленности, возраста детей, а также режимов пребывания.")},
        {"Label2",
         QStringLiteral("Для этого Вам предлагается указать количество детей, обучающихся в "
                        "группах с различными параметрами (возраст, направленность, режим "
                        "пребывания).")},
        {"Label3",
         QStringLiteral("Для выбора параметров групп используйте поля \"укажите возраст "
                        "воспитанников\", \"укажите направленность групп\" и \"укажите режим "
                        "пребывания в группе\"")},
        {"Label4", QStringLiteral("Для перемещения между записями используйте кнопки \"далее\" и "
                                  "\"назад\", а для добавления новой записи используйте кнопку "
                                  "\"добавить\"")},
        {"Label5",
         QStringLiteral("Количество записей не привязывается к количеству групп, если в "
                        "учреждении имеется несколько одинаковых по своим характеристикам "
                        "групп, то однократно указывается общее количество воспитанников в "
                        "группах с обозначенными характеристиками.")},
    };
    for (const auto& [name, text] : texts) {
        QCOMPARE(control<QLabel>(form9(), name)->text(), text);
        QVERIFY(shown(form9(), name));
    }
    QCOMPARE(control<QPushButton>(form9(), "CommandButton2")->text(), QStringLiteral("Назад"));
    QCOMPARE(control<QPushButton>(form9(), "Command1")->text(), QStringLiteral("Далее"));
}

void TestForm9::nextOpensEditorOnFirstRecord_data() {
    QTest::addColumn<int>("records");
    QTest::addColumn<QString>("after");
    QTest::addColumn<QString>("command1");
    QTest::addColumn<bool>("createShown");

    QTest::newRow("one record") << 1 << "0" << QStringLiteral("Закончить распределение по группам")
                                << true;
    QTest::newRow("three loaded records") << 3 << "2" << QStringLiteral("Далее") << false;
}

void TestForm9::nextOpensEditorOnFirstRecord() {
    QFETCH(int, records);
    QFETCH(QString, after);
    QFETCH(QString, command1);
    QFETCH(bool, createShown);

    // Records as a loaded workbook leaves them.
    DistributionTable& table = rig_->store.distribution;
    table.recordCount = FieldValue::integer(records);
    for (int r = 1; r <= records; ++r) {
        table.storeKindText(r, Kind::AgeClass, kindItemTexts(Kind::AgeClass).at(r - 1));
        table.storeKindText(r, Kind::StayMode, kindItemTexts(Kind::StayMode).at(r + 3));
        table.storeKindText(r, Kind::Orientation, kindItemTexts(Kind::Orientation).at(r + 1));
        table.storePupilText(r, QString::number(10 * r), rig_->store.locale);
    }

    click(form9(), "Command1");
    QCOMPARE(rig_->main.calls, QStringList{QStringLiteral("prepareStepAfterDistribution")});
    QVERIFY(!rig_->main.isVisible());
    QVERIFY(!form9()->isVisible());
    QVERIFY(form10()->isVisible());
    QCOMPARE(table.currentRecord, qint16(1));
    QCOMPARE(table.usedRecords(), records);

    QCOMPARE(form10Text("Label5"), QStringLiteral("0"));
    QCOMPARE(form10Text("Label6"), after);
    QCOMPARE(form10Text("Command1"), command1);
    QCOMPARE(form10Text("Command3"), QStringLiteral("Вернуться к параметрам ДОУ"));
    QCOMPARE(shown(form10(), "Command2"), createShown);
    QVERIFY(!shown(form10(), "Command6"));

    QCOMPARE(form10Text("Combo1"), kindItemTexts(Kind::AgeClass).at(0));
    QCOMPARE(form10Text("Combo2"), kindItemTexts(Kind::StayMode).at(4));
    QCOMPARE(form10Text("Combo3"), kindItemTexts(Kind::Orientation).at(2));
    QCOMPARE(form10Text("Label8"), kindItemTexts(Kind::AgeClass).at(0));
    QCOMPARE(form10Text("Label9"), kindItemTexts(Kind::StayMode).at(4));
    QCOMPARE(form10Text("Label7"), kindItemTexts(Kind::Orientation).at(2));
    QCOMPARE(form10Text("Text1"), QStringLiteral("10"));
}

void TestForm9::openingAgainStartsOnFirstRecord() {
    // Finish on the last of three records, step back into the editor, leave it from
    // its first record, and come through the introduction once more.
    click(form9(), "Command1");
    for (int r = 1; r <= 3; ++r) {
        choose(form10(), "Combo1", 0);
        choose(form10(), "Combo2", 0);
        choose(form10(), "Combo3", 0);
        retype(control<QLineEdit>(form10(), "Text1"),
               r == 3 ? QStringLiteral("20") : QStringLiteral("40"));
        click(form10(), r == 3 ? "Command1" : "Command2");
    }
    QVERIFY(rig_->main.isVisible());
    QCOMPARE(rig_->store.distribution.currentRecord, qint16(3));

    rig_->windows.reopenEditor();
    click(form10(), "Command3");
    click(form10(), "Command3");
    click(form10(), "Command3");
    QVERIFY(rig_->main.isVisible());
    rig_->windows.openIntroduction();
    click(form9(), "Command1");

    QCOMPARE(rig_->store.distribution.currentRecord, qint16(1));
    QCOMPARE(form10Text("Label5"), QStringLiteral("0"));
    QCOMPARE(form10Text("Label6"), QStringLiteral("2"));
    QCOMPARE(form10Text("Text1"), QStringLiteral("40"));
}

void TestForm9::backReturnsToKindQuestion() {
    rig_->store.distribution.recordCount = FieldValue::integer(2);
    rig_->store.distribution.currentRecord = 2;
    rig_->store.distribution.storePupilText(1, QStringLiteral("5"), rig_->store.locale);

    click(form9(), "CommandButton2");
    QCOMPARE(rig_->main.calls, QStringList{QStringLiteral("returnToKindStep")});
    QVERIFY(rig_->main.isVisible());
    QVERIFY(!form9()->isVisible());
    QVERIFY(!form10()->isVisible());
    // Nothing of the distribution changes.
    QCOMPARE(rig_->store.distribution.usedRecords(), 2);
    QCOMPARE(rig_->store.distribution.currentRecord, qint16(2));
    QCOMPARE(rig_->store.distribution.pupils(1), Currency::fromWhole(5));
}

void TestForm9::nothingIsCutOff() {
    const QString fault = layoutFault(form9());
    QVERIFY2(fault.isEmpty(), qPrintable(fault));
    saveShot(form9(), QStringLiteral("form9"));
}

void TestForm9::closeBoxEndsTheProgram() {
    QCOMPARE(endProgramRequests(), 0);
    form9()->close();
    QCOMPARE(endProgramRequests(), 1);
}

QTEST_MAIN(TestForm9)
#include "test_form9.moc"
