#include "closeguard.h"
#include "distributiontesting.h"
#include "distributionwindows.h"
#include "form10.h"
#include "form9.h"
#include "numbers.h"
#include "store.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>
#include <memory>

using namespace normativ;
using namespace normativ::test;

namespace {

const QString kIncomplete = QStringLiteral("Проверьте правильность и полноту ввода данных");
const QString kLimit =
    QStringLiteral("Достигнуто предельное количество записей, обратитесь к разработчику");
const QString kTotalAbove = QStringLiteral(
    "Общее количество воспитанников, указанное ранее, меньше суммарного количества "
    "воспитанников по группам");
const QString kTotalBelow = QStringLiteral(
    "Общее количество воспитанников, указанное ранее, больше суммарного количества "
    "воспитанников по группам");
const QString kNoPupilCount = QStringLiteral(
    "Не введено общее количество воспитанников ДОУ, необходимо вернуться на первый шаг");
const QString kBack = QStringLiteral("Назад");
const QString kBackToParameters = QStringLiteral("Вернуться к параметрам ДОУ");
const QString kNext = QStringLiteral("Далее");
const QString kFinish = QStringLiteral("Закончить распределение по группам");

QString item(Kind kind, int index) {
    return kindItemTexts(kind).at(index);
}

}  // namespace

class TestForm10 : public QObject {
    Q_OBJECT

  private slots:
    void init();
    void cleanup();
    void firstOfOneRecord();
    void countersAndButtonsFollowTheRecord_data();
    void countersAndButtonsFollowTheRecord();
    void echoLabelsShowWholeTexts();
    void incompleteRecordIsRefused_data();
    void incompleteRecordIsRefused();
    void atMost42Records();
    void deletingTheLastRecord();
    void finishChecksTheTotal_data();
    void finishChecksTheTotal();
    void leavingBackwardsKeepsAnIncompleteRecord();
    void firstRecordBackReturnsToKindQuestion();
    void reopenShowsTheEditorAsLeft();
    void recordCountKeptInRange_data();
    void recordCountKeptInRange();
    void nothingIsCutOff();
    void closeBoxEndsTheProgram();
    void notANumberHint();

  private:
    QWidget* form10() { return &rig_->windows.form10(); }
    QString text(const char* name) {
        if (auto* label = form10()->findChild<QLabel*>(QLatin1String(name))) return label->text();
        if (auto* box = form10()->findChild<QLineEdit*>(QLatin1String(name))) return box->text();
        if (auto* combo = form10()->findChild<QComboBox*>(QLatin1String(name))) {
            return combo->currentText();
        }
        return control<QPushButton>(form10(), name)->text();
    }
    int current() const { return rig_->store.distribution.currentRecord; }
    int count() const { return rig_->store.distribution.usedRecords(); }
    /// From the institution-kind question through the introduction into the editor.
    void openEditor();
    void fillRecord(int age, int stay, int orientation, const QString& pupils);
    /// Fills the shown (last) record and presses "Создать запись".
    void addRecord(int age, int stay, int orientation, const QString& pupils);

    std::unique_ptr<DistributionRig> rig_;
};

void TestForm10::init() {
    resetEndProgramRequests();
    rig_ = std::make_unique<DistributionRig>();
}

void TestForm10::cleanup() {
    rig_.reset();
}

void TestForm10::openEditor() {
    rig_->windows.openIntroduction();
    click(&rig_->windows.form9(), "Command1");
    QVERIFY(form10()->isVisible());
    rig_->main.calls.clear();
}

void TestForm10::fillRecord(int age, int stay, int orientation, const QString& pupils) {
    if (age >= 0) choose(form10(), "Combo1", age);
    if (stay >= 0) choose(form10(), "Combo2", stay);
    if (orientation >= 0) choose(form10(), "Combo3", orientation);
    retype(control<QLineEdit>(form10(), "Text1"), pupils);
}

void TestForm10::addRecord(int age, int stay, int orientation, const QString& pupils) {
    fillRecord(age, stay, orientation, pupils);
    click(form10(), "Command2");
}

void TestForm10::firstOfOneRecord() {
    openEditor();
    QWidget* w = form10();
    QCOMPARE(w->windowTitle(),
             QStringLiteral("Количество воспитанников в соответствующих группах"));
    QCOMPARE(text("Label1"), QStringLiteral("Укажите возраст воспитанников"));
    QCOMPARE(text("Label2"), QStringLiteral("Укажите режим работы групп"));
    QCOMPARE(text("Label3"), QStringLiteral("Укажите направленность групп"));
    QCOMPARE(text("Label4"),
             QStringLiteral("Укажите общее количество воспитанников, обучающихся в группах"));

    QCOMPARE(text("Command3"), kBackToParameters);
    QCOMPARE(text("Command1"), kFinish);
    QCOMPARE(text("Command2"), QStringLiteral("Создать запись"));
    QCOMPARE(text("Command6"), QStringLiteral("Удалить запись"));
    QVERIFY(shown(w, "Command2"));
    QVERIFY(!shown(w, "Command6"));
    QCOMPARE(text("Label5"), QStringLiteral("0"));
    QCOMPARE(text("Label6"), QStringLiteral("0"));
    QVERIFY(control<QLabel>(w, "Label5")->font().bold());
    QVERIFY(control<QLabel>(w, "Label6")->font().bold());
    QVERIFY(!shown(w, "Label17"));
    QCOMPARE(control<QLabel>(w, "Label17")->palette().color(QPalette::WindowText), QColor(Qt::red));

    // A fresh record: nothing chosen, no pupils.
    for (const char* combo : {"Combo1", "Combo2", "Combo3"}) {
        QCOMPARE(control<QComboBox>(w, combo)->currentIndex(), -1);
    }
    QCOMPARE(text("Text1"), QStringLiteral("0"));
    for (const char* echo : {"Label7", "Label8", "Label9"}) QCOMPARE(text(echo), QString());

    // The lists offer exactly the table's item texts, and only those.
    const std::pair<const char*, Kind> lists[] = {
        {"Combo1", Kind::AgeClass}, {"Combo2", Kind::StayMode}, {"Combo3", Kind::Orientation}};
    for (const auto& [name, kind] : lists) {
        auto* combo = control<QComboBox>(w, name);
        QVERIFY(!combo->isEditable());
        QStringList items;
        for (int i = 0; i < combo->count(); ++i) items << combo->itemText(i);
        QCOMPARE(items, kindItemTexts(kind));
    }
}

void TestForm10::countersAndButtonsFollowTheRecord_data() {
    QTest::addColumn<int>("record");
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("after");
    QTest::addColumn<QString>("command3");
    QTest::addColumn<QString>("command1");
    QTest::addColumn<bool>("createShown");
    QTest::addColumn<bool>("deleteShown");
    QTest::addColumn<QString>("pupils");

    QTest::newRow("last of three") << 3 << "2"
                                   << "0" << kBack << kFinish << true << true << "7";
    QTest::newRow("middle of three") << 2 << "1"
                                     << "1" << kBack << kNext << false << false << "12,5";
    QTest::newRow("first of three") << 1 << "0"
                                    << "2" << kBackToParameters << kNext << false << false << "10";
}

void TestForm10::countersAndButtonsFollowTheRecord() {
    QFETCH(int, record);
    QFETCH(QString, before);
    QFETCH(QString, after);
    QFETCH(QString, command3);
    QFETCH(QString, command1);
    QFETCH(bool, createShown);
    QFETCH(bool, deleteShown);
    QFETCH(QString, pupils);

    const int choices[3][3] = {{0, 0, 0}, {1, 4, 2}, {2, 8, 5}};
    openEditor();
    addRecord(0, 0, 0, QStringLiteral("10"));
    addRecord(1, 4, 2, QStringLiteral("12,5"));
    fillRecord(2, 8, 5, QStringLiteral("7"));
    for (int r = 3; r > record; --r) click(form10(), "Command3");

    QCOMPARE(current(), record);
    QCOMPARE(count(), 3);
    QCOMPARE(text("Label5"), before);
    QCOMPARE(text("Label6"), after);
    QCOMPARE(text("Command3"), command3);
    QCOMPARE(text("Command1"), command1);
    QCOMPARE(shown(form10(), "Command2"), createShown);
    QCOMPARE(shown(form10(), "Command6"), deleteShown);
    // The record shown is the one stored, echoes included.
    const int* chosen = choices[record - 1];
    QCOMPARE(text("Combo1"), item(Kind::AgeClass, chosen[0]));
    QCOMPARE(text("Combo2"), item(Kind::StayMode, chosen[1]));
    QCOMPARE(text("Combo3"), item(Kind::Orientation, chosen[2]));
    QCOMPARE(text("Label8"), item(Kind::AgeClass, chosen[0]));
    QCOMPARE(text("Label9"), item(Kind::StayMode, chosen[1]));
    QCOMPARE(text("Label7"), item(Kind::Orientation, chosen[2]));
    QCOMPARE(text("Text1"), pupils);
}

void TestForm10::echoLabelsShowWholeTexts() {
    openEditor();
    // The longest texts of each list; the orientation one carries an en dash.
    choose(form10(), "Combo1", 0);
    choose(form10(), "Combo2", 5);
    choose(form10(), "Combo3", 3);
    QCOMPARE(text("Label8"), QStringLiteral("от 2-х месяцев до 1-го года"));
    QCOMPARE(text("Label9"), QStringLiteral("группы с 10-ю часовым режимом пребывания"));
    QCOMPARE(text("Label7"),
             QStringLiteral("группы для детей с нарушением слуха (слабослышащих), опорно \u2013 "
                            "двигательного аппарата, с умственной отсталостью средней и "
                            "тяжелой степени"));
    // The drop-down list shows every item whole, wider than the closed box.
    auto* combo3 = control<QComboBox>(form10(), "Combo3");
    combo3->showPopup();
    const QFontMetrics metrics = combo3->view()->fontMetrics();
    for (const QString& text : kindItemTexts(Kind::Orientation)) {
        QVERIFY2(combo3->view()->viewport()->width() > metrics.horizontalAdvance(text),
                 qPrintable(text));
    }
    saveShot(combo3->view()->window(), QStringLiteral("form10-list"));
    combo3->hidePopup();
    // Choosing shows but does not store.
    QVERIFY(!rig_->store.distribution.kindText(1, Kind::Orientation).has_value());
    const QString fault = layoutFault(form10());
    QVERIFY2(fault.isEmpty(), qPrintable(fault));
}

void TestForm10::incompleteRecordIsRefused_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("records");
    QTest::addColumn<int>("age");
    QTest::addColumn<int>("stay");
    QTest::addColumn<int>("orientation");
    QTest::addColumn<QString>("pupils");

    QTest::newRow("next without age") << "Command1" << 2 << -1 << 0 << 0 << "5";
    QTest::newRow("next without stay") << "Command1" << 2 << 0 << -1 << 0 << "5";
    QTest::newRow("next without orientation") << "Command1" << 2 << 0 << 0 << -1 << "5";
    QTest::newRow("next with no pupils typed") << "Command1" << 2 << 0 << 0 << 0 << "";
    QTest::newRow("next with words for pupils") << "Command1" << 2 << 0 << 0 << 0 << "пять";
    QTest::newRow("create without stay") << "Command2" << 1 << 0 << -1 << 0 << "5";
    QTest::newRow("create with no pupils typed") << "Command2" << 1 << 2 << 8 << 5 << "";
    QTest::newRow("finish without orientation") << "Command1" << 1 << 1 << 1 << -1 << "100";
    QTest::newRow("finish with words for pupils") << "Command1" << 1 << 1 << 1 << 1 << "abc";
}

void TestForm10::incompleteRecordIsRefused() {
    QFETCH(QString, button);
    QFETCH(int, records);
    QFETCH(int, age);
    QFETCH(int, stay);
    QFETCH(int, orientation);
    QFETCH(QString, pupils);

    // Record 1 as a loaded workbook may leave it, with kinds missing; record 2 complete.
    DistributionTable& table = rig_->store.distribution;
    table.recordCount = FieldValue::integer(records);
    const std::pair<Kind, int> kinds[] = {
        {Kind::AgeClass, age}, {Kind::StayMode, stay}, {Kind::Orientation, orientation}};
    for (const auto& [kind, index] : kinds) {
        if (index >= 0) table.storeKindText(1, kind, item(kind, index));
        table.storeKindText(2, kind, item(kind, 0));
    }
    table.storePupilText(2, QStringLiteral("50"), rig_->store.locale);

    openEditor();
    retype(control<QLineEdit>(form10(), "Text1"), pupils);
    click(form10(), button.toLatin1().constData());

    QVERIFY(shown(form10(), "Label17"));
    QCOMPARE(text("Label17"), kIncomplete);
    QCOMPARE(current(), 1);
    QCOMPARE(count(), records);
    QVERIFY(form10()->isVisible());
    QVERIFY(!rig_->main.isVisible());
    // What was entered stays stored: the choices shown and the count as typed.
    for (const auto& [kind, index] : kinds) {
        QCOMPARE(table.kindText(1, kind).has_value(), index >= 0);
    }
    const auto typed = parseNumber(pupils, rig_->store.locale);
    QCOMPARE(table.pupilsNotEntered(1), !typed.has_value());
    if (typed) QCOMPARE(table.pupils(1).toDouble(), *typed);
}

void TestForm10::atMost42Records() {
    openEditor();
    for (int r = 1; r < kMaxDistributionRecords; ++r) {
        addRecord(r % 3, r % 9, r % 6, QString::number(r));
    }
    QCOMPARE(count(), 42);
    QCOMPARE(current(), 42);
    QCOMPARE(text("Label5"), QStringLiteral("41"));
    QCOMPARE(text("Label6"), QStringLiteral("0"));
    QVERIFY(!shown(form10(), "Label17"));

    fillRecord(0, 0, 0, QStringLiteral("7"));
    click(form10(), "Command2");
    QVERIFY(shown(form10(), "Label17"));
    QCOMPARE(text("Label17"), kLimit);
    QCOMPARE(count(), 42);
    QCOMPARE(current(), 42);
    // Nothing of the shown record was stored.
    QVERIFY(!rig_->store.distribution.isComplete(42));
    QCOMPARE(rig_->store.distribution.pupils(42), Currency());
    QCOMPARE(rig_->store.distribution.pupils(41), Currency::fromWhole(41));
}

void TestForm10::deletingTheLastRecord() {
    openEditor();
    addRecord(0, 0, 0, QStringLiteral("60"));
    fillRecord(1, -1, -1, QStringLiteral("40"));
    click(form10(), "Command1");
    QCOMPARE(text("Label17"), kIncomplete);

    click(form10(), "Command6");
    QCOMPARE(current(), 1);
    QCOMPARE(count(), 1);
    QVERIFY(!shown(form10(), "Label17"));
    QVERIFY(shown(form10(), "Command2"));
    QVERIFY(!shown(form10(), "Command6"));
    QCOMPARE(text("Command3"), kBackToParameters);
    QCOMPARE(text("Command1"), kFinish);
    QCOMPARE(text("Label6"), QStringLiteral("0"));
    QCOMPARE(text("Combo1"), item(Kind::AgeClass, 0));
    QCOMPARE(text("Text1"), QStringLiteral("60"));
    // The deleted record is cleared, the pupil count to 0 and not to the marker.
    for (Kind kind : {Kind::AgeClass, Kind::StayMode, Kind::Orientation, Kind::GroupPupilCount}) {
        for (int i = 1; i <= kItemCount; ++i) {
            QCOMPARE(rig_->store.distribution.cell(2, kind, i), Currency());
        }
    }

    click(form10(), "Command2");
    QCOMPARE(current(), 2);
    for (const char* combo : {"Combo1", "Combo2", "Combo3"}) QCOMPARE(text(combo), QString());
    for (const char* echo : {"Label7", "Label8", "Label9"}) QCOMPARE(text(echo), QString());
    QCOMPARE(text("Text1"), QStringLiteral("0"));
}

void TestForm10::finishChecksTheTotal_data() {
    QTest::addColumn<QString>("pupilCount");  // "marker" for a count never given
    QTest::addColumn<QStringList>("records");
    QTest::addColumn<QString>("message");  // empty when finishing succeeds

    QTest::newRow("60 and 40 of 100") << "100" << QStringList{"60", "40"} << QString();
    QTest::newRow("60 and 50 of 100") << "100" << QStringList{"60", "50"} << kTotalAbove;
    QTest::newRow("60 and 30 of 100") << "100" << QStringList{"60", "30"} << kTotalBelow;
    QTest::newRow("pupil count not entered")
        << "marker" << QStringList{"60", "40"} << kNoPupilCount;
    QTest::newRow("fractions add up") << "100,5" << QStringList{"60,25", "40,25"} << QString();
    QTest::newRow("a negative count offsets") << "100" << QStringList{"120", "-20"} << QString();
    QTest::newRow("total beyond the currency range")
        << "100" << QStringList{"900000000000000", "900000000000000"} << kTotalAbove;
}

void TestForm10::finishChecksTheTotal() {
    QFETCH(QString, pupilCount);
    QFETCH(QStringList, records);
    QFETCH(QString, message);

    rig_->store.record[Answer::PupilCount] = pupilCount == QLatin1String("marker")
                                                 ? FieldValue::notEntered()
                                                 : FieldValue::text(pupilCount);
    rig_->store.record.wizardStep = 25;
    openEditor();
    for (qsizetype i = 0; i + 1 < records.size(); ++i) addRecord(0, 1, 2, records[i]);
    fillRecord(2, 1, 0, records.last());
    click(form10(), "Command1");

    if (message.isEmpty()) {
        QVERIFY(rig_->main.isVisible());
        QVERIFY(!form10()->isVisible());
        QVERIFY(!shown(form10(), "Label17"));
        // The main window was prepared before; finishing only shows it.
        QVERIFY(rig_->main.calls.isEmpty());
        QCOMPARE(rig_->store.record.wizardStep, 25);
    } else {
        QVERIFY(!rig_->main.isVisible());
        QVERIFY(form10()->isVisible());
        QVERIFY(shown(form10(), "Label17"));
        QCOMPARE(text("Label17"), message);
        QCOMPARE(current(), static_cast<int>(records.size()));
    }
}

void TestForm10::leavingBackwardsKeepsAnIncompleteRecord() {
    openEditor();
    addRecord(0, 0, 0, QStringLiteral("50"));
    addRecord(1, 1, 1, QStringLiteral("30"));
    choose(form10(), "Combo1", 2);
    retype(control<QLineEdit>(form10(), "Text1"), QString());

    click(form10(), "Command3");
    QCOMPARE(current(), 2);
    QVERIFY(!shown(form10(), "Label17"));
    QCOMPARE(rig_->store.distribution.kindText(3, Kind::AgeClass), item(Kind::AgeClass, 2));
    QVERIFY(rig_->store.distribution.pupilsNotEntered(3));

    click(form10(), "Command1");
    QCOMPARE(current(), 3);
    QCOMPARE(text("Combo1"), item(Kind::AgeClass, 2));
    QCOMPARE(text("Combo2"), QString());
    // A count never given shows as an empty box, not as the marker's digits.
    QCOMPARE(text("Text1"), QString());

    click(form10(), "Command1");
    QCOMPARE(text("Label17"), kIncomplete);
    QVERIFY(shown(form10(), "Label17"));
    QCOMPARE(current(), 3);
    QVERIFY(!rig_->main.isVisible());
}

void TestForm10::firstRecordBackReturnsToKindQuestion() {
    openEditor();
    choose(form10(), "Combo2", 3);
    retype(control<QLineEdit>(form10(), "Text1"), QStringLiteral("abc"));
    click(form10(), "Command1");
    QCOMPARE(text("Label17"), kIncomplete);

    click(form10(), "Command3");
    QCOMPARE(rig_->main.calls, QStringList{QStringLiteral("returnToKindStep")});
    QVERIFY(rig_->main.isVisible());
    QVERIFY(!form10()->isVisible());
    QCOMPARE(current(), 1);
    QCOMPARE(rig_->store.distribution.kindText(1, Kind::StayMode), item(Kind::StayMode, 3));
    QVERIFY(rig_->store.distribution.pupilsNotEntered(1));
    QVERIFY(!shown(form10(), "Label17"));
}

void TestForm10::reopenShowsTheEditorAsLeft() {
    openEditor();
    addRecord(0, 4, 0, QStringLiteral("60"));
    fillRecord(2, 6, 5, QStringLiteral("40"));
    click(form10(), "Command1");
    QVERIFY(rig_->main.isVisible());

    // The wizard steps back from the question after the distribution.
    rig_->windows.reopenEditor();
    QVERIFY(form10()->isVisible());
    QVERIFY(!rig_->main.isVisible());
    QCOMPARE(current(), 2);
    QCOMPARE(text("Combo2"), item(Kind::StayMode, 6));
    QCOMPARE(text("Label9"), item(Kind::StayMode, 6));
    QCOMPARE(text("Text1"), QStringLiteral("40"));
    QCOMPARE(text("Label5"), QStringLiteral("1"));
    QCOMPARE(text("Command1"), kFinish);

    click(form10(), "Command1");
    QVERIFY(rig_->main.isVisible());
    QVERIFY(!form10()->isVisible());
}

void TestForm10::recordCountKeptInRange_data() {
    QTest::addColumn<QString>("stored");  // empty for a count never set
    QTest::addColumn<int>("used");

    QTest::newRow("never set") << QString() << 1;
    QTest::newRow("beyond the table") << "50" << 42;
    QTest::newRow("with a fraction") << "2.5" << 2;
}

void TestForm10::recordCountKeptInRange() {
    QFETCH(QString, stored);
    QFETCH(int, used);

    rig_->store.distribution.recordCount =
        stored.isEmpty() ? FieldValue() : FieldValue::number(stored.toDouble());
    openEditor();
    QCOMPARE(rig_->store.distribution.recordCount.toDouble(QLocale::c()), double(used));
    QCOMPARE(text("Label6"), QString::number(used - 1));
    QCOMPARE(text("Command1"), used == 1 ? kFinish : kNext);
}

void TestForm10::nothingIsCutOff() {
    auto check = [this](const char* shot) {
        const QString fault = layoutFault(form10());
        QVERIFY2(fault.isEmpty(), qPrintable(QLatin1String(shot) + QStringLiteral(": ") + fault));
        saveShot(form10(), QLatin1String(shot));
    };
    openEditor();
    fillRecord(0, 5, 3, QStringLiteral("0"));
    check("form10-first");

    click(form10(), "Command1");
    QCOMPARE(text("Label17"), kTotalBelow);
    check("form10-error");

    addRecord(1, 6, 2, QStringLiteral("60"));
    addRecord(2, 8, 5, QStringLiteral("50"));
    fillRecord(0, 0, 0, QStringLiteral("10"));
    click(form10(), "Command1");
    QCOMPARE(text("Label17"), kTotalAbove);
    check("form10-last");

    click(form10(), "Command3");
    check("form10-middle");
}

void TestForm10::closeBoxEndsTheProgram() {
    openEditor();
    QCOMPARE(endProgramRequests(), 0);
    form10()->close();
    QCOMPARE(endProgramRequests(), 1);
}

// The pupils' box hints while its text is no number in the Russian locale; such a text
// is still kept as not entered.
void TestForm10::notANumberHint() {
    openEditor();
    auto* hint = control<QLabel>(form10(), "Label18");
    const std::pair<const char*, bool> cases[] = {
        {"12.5", true}, {"12,5", false}, {"", false}, {"двадцать", true}, {"20", false}};
    for (const auto& [typed, shown] : cases) {
        fillRecord(1, 1, 1, QString::fromUtf8(typed));
        QVERIFY2(hint->isVisible() == shown, typed);
    }
    QCOMPARE(hint->text(),
             QStringLiteral("не число — ответ не будет учтен; дробную часть отделяйте запятой"));
    fillRecord(1, 1, 1, QStringLiteral("12.5"));
    click(form10(), "Command2");
    QVERIFY(rig_->store.distribution.pupilsNotEntered(1));
}

QTEST_MAIN(TestForm10)
#include "test_form10.moc"
