// How every workbook the program writes prints: the page setup in the model, its mapping to
// the package (pageSetup, fitToPage, margins, footer, print area and print titles as defined
// names), and the page setup of the estimate, the saved report, the summary and the
// methodology workbook. With NORMATIV_PRINT_DIR set, writes those workbooks there for
// scripts/check-printing to print to PDF.

#include "estimateworkbook.h"
#include "methodologyworkbook.h"
#include "normativecalculation.h"
#include "packageview.h"
#include "payrollestimate.h"
#include "reportstores.h"
#include "savedreport.h"
#include "savexlsx.h"
#include "servicesestimate.h"
#include "summaryworkbook.h"

#include <QTemporaryDir>
#include <QtTest>

#include <cmath>
#include <functional>

using namespace normativ;

namespace {

std::vector<SummaryRow> summaryRows() {
    SummaryRow computed{QStringLiteral("доу7.xlsx"), QStringLiteral("ДОУ №7"),
                        QStringLiteral("2011"), SummaryRow::Figures{45, 3, 1, 2, 3, 4, 5, 9},
                        QStringLiteral("рассчитано")};
    SummaryRow refused{
        QStringLiteral("пусто.xls"), {}, {}, std::nullopt, QStringLiteral("не распознан")};
    return {computed, refused};
}

/// The page setup of one sheet as the package records it.
struct Printed {
    QString paper;        // pageSetup paperSize
    QString orientation;  // pageSetup orientation
    bool fitToPage = false;
    int fitWide = 1;  // the spreadsheet's defaults when absent
    int tall = 1;
    double left = -1, right = -1, top = -1, bottom = -1;
    QString footer;
    QString printArea;    // without the sheet name's quotes
    QString printTitles;  // the same
};

QString unquoted(QString s) {
    return s.remove(u'\'');
}

Printed printedSheet(const QString& file, int sheetNumber) {
    const packagetest::Package package(file, sheetNumber);
    const pugi::xml_node ws = package.sheet();
    Printed p;
    const pugi::xml_node setup = ws.child("pageSetup");
    p.paper = QString::fromUtf8(setup.attribute("paperSize").value());
    p.orientation = QString::fromUtf8(setup.attribute("orientation").value());
    p.fitToPage = ws.child("sheetPr").child("pageSetUpPr").attribute("fitToPage").as_bool();
    p.fitWide = setup.attribute("fitToWidth").as_int(1);
    p.tall = setup.attribute("fitToHeight").as_int(1);
    const pugi::xml_node m = ws.child("pageMargins");
    p.left = m.attribute("left").as_double(-1);
    p.right = m.attribute("right").as_double(-1);
    p.top = m.attribute("top").as_double(-1);
    p.bottom = m.attribute("bottom").as_double(-1);
    p.footer = QString::fromUtf8(ws.child("headerFooter").child("oddFooter").text().get());

    const QByteArray workbookXml = packagetest::partOf(file, "xl/workbook.xml");
    pugi::xml_document book;
    book.load_buffer(workbookXml.constData(), static_cast<std::size_t>(workbookXml.size()));
    const QString sheetId = QString::number(sheetNumber - 1);
    for (pugi::xml_node name :
         book.child("workbook").child("definedNames").children("definedName")) {
        if (QString::fromUtf8(name.attribute("localSheetId").value()) != sheetId) continue;
        const QString which = QString::fromUtf8(name.attribute("name").value());
        const QString value = unquoted(QString::fromUtf8(name.text().get()));
        if (which == u"_xlnm.Print_Area") p.printArea = value;
        if (which == u"_xlnm.Print_Titles") p.printTitles = value;
    }
    return p;
}

/// The range of the cells holding a value, as the package records them ("A1:F39").
QString valueRangeInPackage(const QString& file, int sheetNumber) {
    const packagetest::Package package(file, sheetNumber);
    int lastRow = 0;
    int lastColumn = 0;
    for (pugi::xml_node row : package.sheet().child("sheetData").children("row")) {
        for (pugi::xml_node c : row.children("c")) {
            if (c.child("v").empty() && c.child("is").empty()) continue;
            const auto ref = parseCellRef(std::string_view(c.attribute("r").value()));
            if (!ref) continue;
            lastRow = std::max(lastRow, ref->row);
            lastColumn = std::max(lastColumn, ref->column);
        }
    }
    return QStringLiteral("A1:") + cellAddress(lastRow, lastColumn);
}

/// The part of the range after the sheet name, without the dollars.
QString rangeOnly(const QString& definedName) {
    return definedName.mid(definedName.lastIndexOf(u'!') + 1).remove(u'$');
}

/// The scale a fit to one page across and `pagesTall` down gives, from the written widths and
/// heights: Calibri 11 columns are 7 pixels a character plus 5 (the file's width already holds the
/// padding), 96 pixels an inch; rows without a height are 15 points; A4 is 8.27 × 11.69 inches.
double onePageScale(const QString& file, int sheetNumber, const Printed& p, int lastRow,
                    int lastColumn, double defaultRowHeight, int pagesTall) {
    const packagetest::Package package(file, sheetNumber);
    double widthInches = 0;
    for (int c = 1; c <= lastColumn; ++c) {
        if (package.columnHidden(c)) continue;
        const pugi::xml_node col = package.column(c);
        widthInches += std::round(col.attribute("width").as_double(9.140625) * 7) / 96.0;
    }
    double heightPoints = 0;
    for (int r = 1; r <= lastRow; ++r) {
        heightPoints += package.rowHeight(r).value_or(defaultRowHeight);
    }
    const bool landscape = p.orientation == u"landscape";
    const double pageWide = (landscape ? 11.69 : 8.27) - p.left - p.right;
    const double pageTall = (landscape ? 8.27 : 11.69) - p.top - p.bottom;
    return std::min({1.0, pageWide / widthInches, pagesTall * pageTall / (heightPoints / 72.0)});
}

QString writePackage(const QString& folder, const QString& name, const Workbook& book) {
    const QString path = folder + u'/' + name;
    const Status saved = saveWorkbook(book, path);
    return saved.ok() ? path : QString();
}

}  // namespace

class TestPrintSetup : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { QVERIFY(dir_.isValid()); }

    // The model keeps a valid setup and refuses one that can't print, changing nothing.
    void refusesImpossibleSetups_data() {
        QTest::addColumn<int>("what");
        QTest::newRow("print area past the last row") << 0;
        QTest::newRow("repeated rows upside down") << 1;
        QTest::newRow("negative fit") << 2;
        QTest::newRow("fit over 16 bits") << 3;
        QTest::newRow("margin not a number") << 4;
        QTest::newRow("negative margin") << 5;
        QTest::newRow("footer of 256 characters") << 6;
    }
    void refusesImpossibleSetups() {
        QFETCH(int, what);
        Workbook book;
        Sheet& sheet = book.addSheet();
        PageSetup good;
        good.paper = PageSetup::Paper::A4;
        good.fit = PageSetup::Fit{1, 0};
        good.footer = QStringLiteral("Стр. &P из &N");
        sheet.setPageSetup(good);
        QVERIFY(book.error().isEmpty());
        QCOMPARE(sheet.pageSetup(), good);

        PageSetup bad = good;
        switch (what) {
            case 0:
                bad.printArea = RangeRef{1, 1, 1048577, 3};
                break;
            case 1:
                bad.repeatedRows = PageSetup::Rows{5, 4};
                break;
            case 2:
                bad.fit = PageSetup::Fit{-1, 0};
                break;
            case 3:
                bad.fit = PageSetup::Fit{1, 32768};
                break;
            case 4:
                bad.margins = PageSetup::Margins{std::nan(""), 0.5, 0.5, 0.5};
                break;
            case 5:
                bad.margins = PageSetup::Margins{0.5, -0.1, 0.5, 0.5};
                break;
            case 6:
                bad.footer = QString(256, u'ж');
                break;
        }
        sheet.setPageSetup(bad);
        QVERIFY(!book.error().isEmpty());
        QCOMPARE(sheet.pageSetup(), good);
    }

    // The footer: captions, escaped ampersands, a long name shortened to the limit.
    void footers_data() {
        QTest::addColumn<QStringList>("captions");
        QTest::addColumn<QString>("expected");
        QTest::newRow("institution and year")
            << QStringList{QStringLiteral("ДОУ №5"), QStringLiteral("2011")}
            << QStringLiteral("ДОУ №5, 2011, Стр. &P из &N");
        QTest::newRow("no year") << QStringList{QStringLiteral("Сад"), QString()}
                                 << QStringLiteral("Сад, Стр. &P из &N");
        QTest::newRow("nothing") << QStringList{QString(), QStringLiteral("  ")}
                                 << QStringLiteral("Стр. &P из &N");
        QTest::newRow("ampersand")
            << QStringList{QStringLiteral("Сад & ясли"), QStringLiteral("2012")}
            << QStringLiteral("Сад && ясли, 2012, Стр. &P из &N");
        // 255 less "…", ", ", "2011", ", " and "Стр. &P из &N" (1 + 2 + 4 + 2 + 13): 233.
        QTest::newRow("long name") << QStringList{QString(400, u'я'), QStringLiteral("2011")}
                                   << QString(233, u'я') + QStringLiteral("…, 2011, Стр. &P из &N");
        // Each ampersand takes two characters: 233 / 2 = 116 of them fit.
        QTest::newRow("long name of ampersands")
            << QStringList{QString(300, u'&'), QStringLiteral("2011")}
            << QString(232, u'&') + QStringLiteral("…, 2011, Стр. &P из &N");
    }
    void footers() {
        QFETCH(QStringList, captions);
        QFETCH(QString, expected);
        const QString footer = printFooter(captions);
        QCOMPARE(footer, expected);
        QVERIFY(footer.size() <= 255);
    }

    // The setup reaches the package as a spreadsheet program reads it.
    void writesTheSetup_data() {
        QTest::addColumn<bool>("landscape");
        QTest::addColumn<int>("wide");
        QTest::addColumn<int>("tall");
        QTest::addColumn<QString>("area");
        QTest::addColumn<QString>("titles");
        QTest::newRow("portrait, one page, area, no titles")
            << false << 1 << 1 << QStringLiteral("Итог!$A$1:$F$39") << QString();
        QTest::newRow("landscape, one page wide, titles")
            << true << 1 << 0 << QStringLiteral("Итог!$B$2:$L$100") << QStringLiteral("Итог!$1:$2");
    }
    void writesTheSetup() {
        QFETCH(bool, landscape);
        QFETCH(int, wide);
        QFETCH(int, tall);
        QFETCH(QString, area);
        QFETCH(QString, titles);
        Workbook book;
        Sheet& sheet = book.addSheet(QStringLiteral("Итог"));
        sheet.setText(1, 1, QStringLiteral("заголовок"));
        PageSetup setup;
        setup.paper = PageSetup::Paper::A4;
        setup.landscape = landscape;
        setup.fit = PageSetup::Fit{wide, tall};
        setup.margins = PageSetup::Margins{0.5, 0.4, 0.6, 0.75};
        setup.printArea = parseRange(rangeOnly(area));
        if (!titles.isEmpty()) setup.repeatedRows = PageSetup::Rows{1, 2};
        setup.footer = QStringLiteral("Сад && ясли, Стр. &P из &N");
        sheet.setPageSetup(setup);
        const QString path = writePackage(dir_.path(), QStringLiteral("setup.xlsx"), book);
        QVERIFY(!path.isEmpty());

        const Printed p = printedSheet(path, 1);
        QCOMPARE(p.paper, QStringLiteral("9"));
        QCOMPARE(p.orientation,
                 landscape ? QStringLiteral("landscape") : QStringLiteral("portrait"));
        QVERIFY(p.fitToPage);
        QCOMPARE(p.fitWide, wide);
        QCOMPARE(p.tall, tall);
        QCOMPARE(p.left, 0.5);
        QCOMPARE(p.right, 0.4);
        QCOMPARE(p.top, 0.6);
        QCOMPARE(p.bottom, 0.75);
        QCOMPARE(p.footer, QStringLiteral("Сад && ясли, Стр. &P из &N"));
        QCOMPARE(p.printArea, area);
        QCOMPARE(p.printTitles, titles);
    }

    // A sheet without a setup prints as the spreadsheet's default: nothing written.
    void noSetupWritesNothing() {
        Workbook book;
        book.addSheet().setText(1, 1, QStringLiteral("x"));
        const QString path = writePackage(dir_.path(), QStringLiteral("plain.xlsx"), book);
        QVERIFY(!path.isEmpty());
        const Printed p = printedSheet(path, 1);
        QVERIFY(p.paper.isEmpty());
        QVERIFY(!p.fitToPage);
        QVERIFY(p.footer.isEmpty());
        QVERIFY(p.printArea.isEmpty());
        QVERIFY(p.printTitles.isEmpty());
    }

    // Every workbook the program writes, sheet by sheet.
    void workbooksPrint_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("sheet");
        QTest::addColumn<QString>("orientation");
        QTest::addColumn<int>("wide");
        QTest::addColumn<int>("tall");
        QTest::addColumn<QString>("area");  // "values": the cells with values, from A1
        QTest::addColumn<QString>("titles");
        QTest::addColumn<QString>("footer");

        const QString report = QStringLiteral(
            "дошкольное образовательное учреждение №7, 2011, "
            "Стр. &P из &N");
        const QString methodology =
            Methodology::example()->name + QStringLiteral(", Стр. &P из &N");
        QTest::newRow("estimate") << QStringLiteral("estimate.xlsx") << 1
                                  << QStringLiteral("portrait") << 1 << 1
                                  << QStringLiteral("A1:F39") << QString()
                                  << QStringLiteral("ДОУ №5, 2011, Стр. &P из &N");
        // Five records: the header in row 4, the records in rows 5 to 9.
        QTest::newRow("report: parameters")
            << QStringLiteral("report.xlsx") << 1 << QStringLiteral("portrait") << 1 << 2
            << QStringLiteral("A1:C53") << QString() << report;
        QTest::newRow("report: groups")
            << QStringLiteral("report.xlsx") << 2 << QStringLiteral("portrait") << 1 << 0
            << QStringLiteral("A4:E9") << QStringLiteral("4:4") << report;
        QTest::newRow("report: methodology")
            << QStringLiteral("report.xlsx") << 3 << QStringLiteral("landscape") << 1 << 0
            << QStringLiteral("values") << QString() << report;
        QTest::newRow("report: calculation")
            << QStringLiteral("report.xlsx") << 4 << QStringLiteral("portrait") << 1 << 0
            << QStringLiteral("values") << QStringLiteral("5:5") << report;
        // Two inputs in rows 2 and 3, the totals in 4, the methodology line in 6.
        QTest::newRow("summary") << QStringLiteral("summary.xlsx") << 1
                                 << QStringLiteral("landscape") << 1 << 0 << QStringLiteral("A1:L6")
                                 << QStringLiteral("1:1")
                                 << QStringLiteral("Сводка, Стр. &P из &N");
        for (int n = 1; n <= methodologySheets_; ++n) {
            const QString name = methodologyNames_.value(n - 1);
            const bool wide = name == u"Штатные нормативы" || name == u"АУП";
            QTest::newRow(qPrintable(QStringLiteral("methodology: ") + name))
                << QStringLiteral("methodology.xlsx") << n
                << (wide ? QStringLiteral("landscape") : QStringLiteral("portrait")) << 1 << 0
                << QStringLiteral("values") << (n == 1 ? QString() : QStringLiteral("1:2"))
                << methodology;
        }
    }
    void workbooksPrint() {
        QFETCH(QString, file);
        QFETCH(int, sheet);
        QFETCH(QString, orientation);
        QFETCH(int, wide);
        QFETCH(int, tall);
        QFETCH(QString, area);
        QFETCH(QString, titles);
        QFETCH(QString, footer);
        const QString path = dir_.path() + u'/' + file;
        QVERIFY(QFile::exists(path));
        const Printed p = printedSheet(path, sheet);
        QCOMPARE(p.paper, QStringLiteral("9"));
        QCOMPARE(p.orientation, orientation);
        QVERIFY(p.fitToPage);
        QCOMPARE(p.fitWide, wide);
        QCOMPARE(p.tall, tall);
        QVERIFY(p.left >= 0.25 && p.right >= 0.25 && p.top >= 0.5 && p.bottom >= 0.5);
        QVERIFY(p.left <= 1 && p.right <= 1 && p.top <= 1 && p.bottom <= 1);
        QCOMPARE(p.footer, footer);
        const QString expectedArea = area == u"values" ? valueRangeInPackage(path, sheet) : area;
        QCOMPARE(rangeOnly(p.printArea), expectedArea);
        QCOMPARE(rangeOnly(p.printTitles), titles);
    }

    // The estimate fits one page at a scale that keeps its 11-point text at 8 points or more;
    // the report's parameters, in 12 points, fit two pages at 8 points or more.
    void scales() {
        const QString estimate = dir_.path() + QStringLiteral("/estimate.xlsx");
        const double estimateScale =
            onePageScale(estimate, 1, printedSheet(estimate, 1), 39, 6, 15, 1);
        QVERIFY2(estimateScale * 11 >= 8, qPrintable(QString::number(estimateScale)));

        const QString report = dir_.path() + QStringLiteral("/report.xlsx");
        const double reportScale = onePageScale(report, 1, printedSheet(report, 1), 53, 3, 15, 2);
        QVERIFY2(reportScale * 12 >= 8, qPrintable(QString::number(reportScale)));
    }

  public:
    TestPrintSetup() {
        const Workbook methodology = buildMethodologyWorkbook(*Methodology::example());
        methodologySheets_ = methodology.sheetCount();
        for (int n = 1; n <= methodology.sheetCount(); ++n) {
            methodologyNames_ << methodology.sheet(n).name();
        }
        // The workbooks once, for the table above and for printing to PDF.
        QString folder = qEnvironmentVariable("NORMATIV_PRINT_DIR");
        if (folder.isEmpty()) folder = dir_.path();
        QDir().mkpath(folder);
        const auto write = [&](const QString& name, const Workbook& book) {
            const QString path = writePackage(folder, name, book);
            if (folder != dir_.path() && !path.isEmpty()) {
                QFile::copy(path, dir_.path() + u'/' + name);
            }
        };
        write(QStringLiteral("estimate.xlsx"),
              buildEstimateWorkbook(formatstest::estimateStore(false)));
        write(QStringLiteral("report.xlsx"), buildSavedReport(formatstest::reportStore()));
        write(QStringLiteral("summary.xlsx"),
              buildSummaryWorkbook(summaryRows(), *Methodology::example()));
        write(QStringLiteral("methodology.xlsx"), methodology);
    }

  private:
    QTemporaryDir dir_;
    int methodologySheets_ = 0;
    QStringList methodologyNames_;
};

QTEST_GUILESS_MAIN(TestPrintSetup)
#include "test_printsetup.moc"
