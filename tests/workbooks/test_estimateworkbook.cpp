// The estimate workbook: cells read back by our reader from the copies the estimate
// windows keep, and its formats, merge and hidden columns in the package's XML.

#include "estimateworkbook.h"
#include "normativecalculation.h"
#include "numbers.h"
#include "openworkbook.h"
#include "packageview.h"
#include "payrollestimate.h"
#include "reportstores.h"
#include "savexlsx.h"
#include "servicesestimate.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace normativ;
using packagetest::Package;

namespace {

/// A text of the estimate as the workbook should hold it: a number when it is one.
CellValue typed(const QString& text) {
    if (const auto n = parseNumber(text, formatstest::russian())) return CellValue::number(*n);
    return text.isEmpty() ? CellValue() : CellValue::text(text);
}

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace

namespace normativ {
char* toString(const CellValue& v) {
    return qstrdup(v.debugString().toUtf8().constData());
}
}  // namespace normativ

class TestEstimateWorkbook : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { QVERIFY(dir_.isValid()); }

    void values_data() {
        QTest::addColumn<bool>("ownData");
        QTest::newRow("standard way") << false;
        QTest::newRow("own figures") << true;
    }

    // Every figure of both estimates in its cell, numbers as numbers.
    void values() {
        QFETCH(bool, ownData);
        const Store store = formatstest::estimateStore(ownData);
        const LoadedWorkbook book = saveAndRead(store, QStringLiteral("values.xlsx"));
        QCOMPARE(book.sheetCount(), 1);
        const SavedPayrollEstimateText& payroll = store.estimateCopies.payroll;
        const SavedServicesEstimateText& services = store.estimateCopies.services;
        for (int r = 1; r <= SavedPayrollEstimateText::kRows; ++r) {
            const int row = 4 + r;
            const QString at = QStringLiteral("row %1").arg(row);
            QVERIFY2(book.cell(1, row, 2) == typed(payroll.at(r, 1)), qPrintable(at));
            QVERIFY2(book.cell(1, row, 2).isNumber(), qPrintable(at));
            QVERIFY2(
                book.cell(1, row, 3) == CellValue::number(45 * book.cell(1, row, 2).toNumber()),
                qPrintable(at));
            for (int column = 3; column <= 5; ++column) {
                QVERIFY2(book.cell(1, row, column + 1) == typed(payroll.at(r, column)),
                         qPrintable(at));
            }
        }
        // The service staff row runs right to left in the grid (Text120 ... Text116) and
        // left to right in the workbook.
        const auto box = [&](int number) {
            return payroll.texts[SavedPayrollEstimateText::indexOfBox(number)];
        };
        QCOMPARE(book.cell(1, u"B28"), typed(box(120)));
        QCOMPARE(book.cell(1, u"F28"), typed(box(116)));
        for (int row = 30; row <= 37; ++row) {
            for (int column = 2; column <= 4; ++column) {
                QCOMPARE(book.cell(1, row, column), CellValue::text(QStringLiteral("-")));
            }
        }
        for (int line = 1; line <= 7; ++line) {
            QCOMPARE(book.cell(1, 29 + line, 5), typed(services.box(121 + 2 * (line - 1))));
        }
        for (int line = 1; line <= 6; ++line) {
            QCOMPARE(book.cell(1, 29 + line, 6), typed(services.box(122 + 2 * (line - 1))));
        }
        QCOMPARE(book.cell(1, u"F36"), CellValue::number(services.grandTotal.toDouble()));
        const double total =
            parseNumber(payroll.at(25, 5), store.locale).value() + services.grandTotal.toDouble();
        QCOMPARE(book.cell(1, u"F37"), CellValue::number(total));
        QCOMPARE(book.cell(1, u"E37"), CellValue::number(total / 45));
        const CellValue seeOther = CellValue::text(QStringLiteral("см. пр. расх."));
        for (const char16_t* address : {u"E31", u"F31", u"E33", u"F33"}) {
            QCOMPARE(book.cell(1, address) == seeOther, ownData);
        }
    }

    void captions_data() {
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("caption");
        QTest::newRow("title") << "A2"
                               << "Рекомендуемая смета дошкольного образовательного учреждения";
        QTest::newRow("B4") << "B4"
                            << "Количество ставок на воспитанника";
        QTest::newRow("C4") << "C4"
                            << "Количество ставок (всего)";
        QTest::newRow("D4") << "D4"
                            << "Средняя зп на ставку, рублей";
        QTest::newRow("E4") << "E4"
                            << "Объем расходов на воспитанника, рублей";
        QTest::newRow("F4") << "F4"
                            << "Объем расходов (всего), рублей";
        QTest::newRow("first row") << "A5"
                                   << "Воспитатели";
        QTest::newRow("doubled space") << "A8"
                                       << "Инструктора  методисты";
        QTest::newRow("missing space") << "A20"
                                       << "Зам.заведующего по воспитательной работе";
        QTest::newRow("with a space") << "A21"
                                      << "Зам. заведующего по хозяйственной работе";
        QTest::newRow("small letter") << "A26"
                                      << "кассир";
        QTest::newRow("service staff") << "A28"
                                       << "Обслуживающий персонал (всего)";
        QTest::newRow("payroll total") << "A29"
                                       << "Оплата труда персонала ДОУ (всего)";
        QTest::newRow("property") << "A34"
                                  << "Расходы на содержание имущества учреждения, включая аренду "
                                     "имущества";
        QTest::newRow("last row") << "A37"
                                  << "Расходы учреждения (всего)";
        QTest::newRow("nothing in A1") << "A1"
                                       << "";
        QTest::newRow("nothing in A4") << "A4"
                                       << "";
        QTest::newRow("nothing in A38") << "A38"
                                        << "";
        // The example's fingerprint, checked with sha256sum in the methodology's tests.
        QTest::newRow("the methodology under the table")
            << "A39"
            << "Методика расчета: пример (встроенная) (отпечаток 876c1dbf987d)";
    }

    void captions() {
        QFETCH(QString, address);
        QFETCH(QString, caption);
        if (!book_)
            book_ = saveAndRead(formatstest::estimateStore(false), QStringLiteral("captions.xlsx"));
        QCOMPARE(book_->cell(1, address).toText(), caption);
    }

    // Every row caption of column A, as the estimate workbook's layout gives them: the
    // windows share most of these texts, so a change in a window's list must not move them.
    void everyRowCaption() {
        const QStringList expected{
            "Воспитатели",
            "Музыкальные руководители",
            "Инструктора по физической культуре",
            "Инструктора  методисты",
            "Концертмейстеры",
            "Педагоги дополнительного образования",
            "Педагоги-организаторы",
            "Социальные педагоги",
            "Методисты",
            "Педагоги-психологи",
            "Руководители физического воспитания",
            "Учителя-дефектологи, учителя-логопеды (логопеды)",
            "Педагогический персонал (всего)",
            "Учебно-вспомогательный персонал (всего)",
            "Заведующий ДОУ",
            "Зам.заведующего по воспитательной работе",
            "Зам. заведующего по хозяйственной работе",
            "Заведующий хозяйством",
            "Главный бухгалтер",
            "Бухгалтер",
            "Делопроизводитель",
            "кассир",
            "Административно-управленческий персонал (всего)",
            "Обслуживающий персонал (всего)",
            "Оплата труда персонала ДОУ (всего)",
            "Расходы на приобретение коммунальных услуг",
            "Расходы на приобретение услуг связи",
            "Расходы на организацию питания воспитанников",
            "Расходы на приобретение транспортных услуг",
            "Расходы на содержание имущества учреждения, включая аренду имущества",
            "Прочие расходы",
            "Совокупные расходы на приобретение услуг",
            "Расходы учреждения (всего)",
        };
        if (!book_)
            book_ = saveAndRead(formatstest::estimateStore(false), QStringLiteral("captions.xlsx"));
        for (int row = 5; row <= 37; ++row) {
            QCOMPARE(book_->cell(1, QStringLiteral("A%1").arg(row)).toText(), expected[row - 5]);
        }
    }

    void layout() {
        const QString path = dir_.filePath(QStringLiteral("layout.xlsx"));
        QVERIFY(saveWorkbook(buildEstimateWorkbook(formatstest::estimateStore(false)), path).ok());
        const Package p(path, 1);
        QVERIFY(p.loaded());
        QCOMPARE(p.merges(), QStringList{QStringLiteral("A2:F2")});
        QCOMPARE(p.columnWidth(1), 35.71);
        for (int column = 2; column <= 6; ++column) QCOMPARE(p.columnWidth(column), 14.14);
        QVERIFY(!p.columnHidden(6));
        QVERIFY(p.columnHidden(7));
        QVERIFY(p.columnHidden(16384));

        const auto title = p.style("A2");
        QVERIFY(title.bold);
        QCOMPARE(title.horizontal, QStringLiteral("center"));
        QVERIFY(title.vertical.isEmpty() || title.vertical == QStringLiteral("bottom"));
        QVERIFY(!title.wrap);
        for (const char* address : {"B4", "F4"}) {
            QCOMPARE(p.style(address).horizontal, QStringLiteral("center"));
            QCOMPARE(p.style(address).vertical, QStringLiteral("center"));
            QVERIFY(p.style(address).wrap);
        }
        QCOMPARE(p.style("A5").vertical, QStringLiteral("center"));
        QVERIFY(p.style("A5").horizontal.isEmpty());
        QVERIFY(p.style("A5").wrap);
        for (const char* address : {"B5", "C29", "B37"}) {
            QCOMPARE(p.style(address).numberFormat, QStringLiteral("0.000"));
        }
        for (const char* address : {"E5", "F29", "E37", "F37"}) {
            QCOMPARE(p.style(address).numberFormat, QStringLiteral("0"));
        }
        QCOMPARE(p.style("D5").numberFormat, QStringLiteral("General"));
        for (const char* address : {"B5", "D5", "E5"}) {
            QCOMPARE(p.style(address).horizontal, QStringLiteral("center"));
            QCOMPARE(p.style(address).vertical, QStringLiteral("center"));
            QVERIFY(!p.style(address).wrap);
        }
        for (const char* address : {"A17", "F18", "A27", "C28", "F29", "A36", "F37"}) {
            QVERIFY2(p.style(address).bold, address);
        }
        for (const char* address : {"A16", "F19", "A26", "A30", "F35"}) {
            QVERIFY2(!p.style(address).bold, address);
        }
        for (const char* address : {"A4", "F4", "C20", "A37", "F37"}) {
            const auto s = p.style(address);
            QVERIFY2(s.left == QStringLiteral("thin") && s.top == QStringLiteral("thin") &&
                         s.right == QStringLiteral("thin") && s.bottom == QStringLiteral("thin"),
                     address);
        }
        QVERIFY(p.style("A3").bottom.isEmpty() || p.style("A3").bottom == QStringLiteral("thin"));
        QVERIFY(p.style("G20").left.isEmpty());
        // The long captions wrap onto more lines than the short ones.
        QVERIFY(p.rowHeight(4).value_or(0) >= 3 * 15);
        QVERIFY(p.rowHeight(34).value_or(0) > p.rowHeight(5).value_or(15));
    }

    // A payroll total that is not a number, or no pupils, leaves the institution's totals
    // blank instead of writing a figure nobody computed.
    void totalsLeftBlankWhenUnusable() {
        Store store = formatstest::estimateStore(false);
        store.estimateCopies.payroll.texts[SavedPayrollEstimateText::indexOfBox(225)] =
            QStringLiteral("неверный ввод");
        Workbook book = buildEstimateWorkbook(store);
        QVERIFY(book.sheet(1).value(u"F37").isEmpty());
        QVERIFY(book.sheet(1).value(u"E37").isEmpty());
        QCOMPARE(book.sheet(1).value(u"F29"), CellValue::text(QStringLiteral("неверный ввод")));

        store = formatstest::estimateStore(false);
        store.record[Answer::PupilCount] = FieldValue::text(QStringLiteral("0"));
        book = buildEstimateWorkbook(store);
        QVERIFY(book.sheet(1).value(u"F37").isNumber());
        QVERIFY(book.sheet(1).value(u"E37").isEmpty());
        QCOMPARE(book.sheet(1).value(u"C5"), CellValue::number(0));
    }

    void defaultFileName() {
        Store store(formatstest::russian());
        store.record.institutionName = FieldValue::text(QStringLiteral("ДОУ <Радуга>"));
        store.record.planningYear = FieldValue::text(QStringLiteral("2012"));
        QCOMPARE(defaultEstimateFileName(store),
                 QStringLiteral("Смета ДОУ ДОУ _Радуга_ 2012.xlsx"));
    }

  private:
    LoadedWorkbook saveAndRead(const Store& store, const QString& name) {
        const QString path = dir_.filePath(name);
        const Status saved = saveWorkbook(buildEstimateWorkbook(store), path);
        if (!saved.ok()) qWarning("%s", qPrintable(saved.error()));
        Result<LoadedWorkbook> read = openWorkbook(readAll(path));
        return read.ok() ? std::move(read.value()) : LoadedWorkbook();
    }

    QTemporaryDir dir_;
    std::optional<LoadedWorkbook> book_;
};

QTEST_GUILESS_MAIN(TestEstimateWorkbook)
#include "test_estimateworkbook.moc"
