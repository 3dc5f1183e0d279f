#pragma once

// A test-only look into a written .xlsx package: the cells, styles, columns, rows and
// merges as the package's XML records them, and a Russian C locale for checking that
// numbers are written with a point.

#include <QByteArray>
#include <QFile>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <zip.h>
#include <clocale>
#include <cmath>
#include <optional>
#include <pugixml.hpp>
#include <string>
#include <string_view>

namespace packagetest {

/// The text of one part of a written package (trusted: our own output).
inline QByteArray partOf(const QString& file, const char* part) {
    int error = 0;
    zip_t* archive = zip_open(QFile::encodeName(file).constData(), ZIP_RDONLY, &error);
    if (archive == nullptr) return {};
    QByteArray out;
    if (zip_file_t* f = zip_fopen(archive, part, 0)) {
        char buffer[4096];
        zip_int64_t n = 0;
        while ((n = zip_fread(f, buffer, sizeof buffer)) > 0) {
            out.append(buffer, static_cast<qsizetype>(n));
        }
        zip_fclose(f);
    }
    zip_discard(archive);
    return out;
}

/// The names of a written package's parts, in the package's order.
inline QStringList partNames(const QString& file) {
    int error = 0;
    zip_t* archive = zip_open(QFile::encodeName(file).constData(), ZIP_RDONLY, &error);
    if (archive == nullptr) return {};
    QStringList out;
    for (zip_int64_t i = 0; i < zip_get_num_entries(archive, 0); ++i) {
        out << QString::fromUtf8(zip_get_name(archive, static_cast<zip_uint64_t>(i), 0));
    }
    zip_discard(archive);
    return out;
}

/// The style of a cell as the package records it.
struct Style {
    QString font;
    double size = 0;
    bool bold = false;
    bool italic = false;
    QString color;
    QString numberFormat;
    QString horizontal;
    QString vertical;
    bool wrap = false;
    QString left, top, right, bottom;
};

class Package {
  public:
    explicit Package(const QString& file, int sheetNumber = 1) {
        const std::string part = "xl/worksheets/sheet" + std::to_string(sheetNumber) + ".xml";
        sheetText_ = partOf(file, part.c_str());
        sheet_.load_buffer(sheetText_.constData(), static_cast<std::size_t>(sheetText_.size()));
        const QByteArray styles = partOf(file, "xl/styles.xml");
        styles_.load_buffer(styles.constData(), static_cast<std::size_t>(styles.size()));
    }
    bool loaded() const { return !sheet().empty() && !styles().empty(); }
    int cellFormatCount() const { return styles().child("cellXfs").attribute("count").as_int(); }
    const QByteArray& sheetText() const { return sheetText_; }
    pugi::xml_node sheet() const { return sheet_.child("worksheet"); }
    pugi::xml_node styles() const { return styles_.child("styleSheet"); }

    pugi::xml_node cell(const char* address) const {
        return sheet().child("sheetData").find_node([&](pugi::xml_node n) {
            return std::string_view(n.name()) == "c" &&
                   std::string_view(n.attribute("r").value()) == address;
        });
    }
    pugi::xml_node row(int number) const {
        return sheet()
            .child("sheetData")
            .find_child_by_attribute("row", "r", std::to_string(number).c_str());
    }
    /// The height a row is written with; nothing when it keeps the default.
    std::optional<double> rowHeight(int number) const {
        const pugi::xml_node r = row(number);
        if (r.empty() || r.attribute("ht").empty()) return std::nullopt;
        return r.attribute("ht").as_double();
    }
    bool rowHidden(int number) const {
        const pugi::xml_node r = row(number);
        if (r.empty()) return sheet().child("sheetFormatPr").attribute("zeroHeight").as_bool();
        return r.attribute("hidden").as_bool();
    }
    pugi::xml_node column(int number) const {
        for (pugi::xml_node c : sheet().child("cols").children("col")) {
            if (c.attribute("min").as_int() <= number && number <= c.attribute("max").as_int()) {
                return c;
            }
        }
        return {};
    }
    /// The width of a column as a spreadsheet shows it, in characters of the default font
    /// to two decimals: the file holds the width in pixels of 7 per character plus 5 of
    /// padding, divided by 7.
    double columnWidth(int number) const {
        const double pixels = std::round(column(number).attribute("width").as_double() * 7);
        return std::round((pixels - 5) / 7 * 100) / 100;
    }
    bool columnHidden(int number) const { return column(number).attribute("hidden").as_bool(); }
    QStringList merges() const {
        QStringList out;
        for (pugi::xml_node m : sheet().child("mergeCells").children("mergeCell")) {
            out << QString::fromUtf8(m.attribute("ref").value());
        }
        return out;
    }

    Style style(const char* address) const {
        const int index = cell(address).attribute("s").as_int(0);
        const auto nth = [](pugi::xml_node parent, int n) {
            pugi::xml_node node = parent.first_child();
            for (int i = 0; i < n; ++i) node = node.next_sibling();
            return node;
        };
        const pugi::xml_node xf = nth(styles().child("cellXfs"), index);
        Style s;
        const pugi::xml_node font = nth(styles().child("fonts"), xf.attribute("fontId").as_int());
        s.font = QString::fromUtf8(font.child("name").attribute("val").value());
        s.size = font.child("sz").attribute("val").as_double();
        s.bold = !font.child("b").empty();
        s.italic = !font.child("i").empty();
        s.color = QString::fromUtf8(font.child("color").attribute("rgb").value());
        const int numFmt = xf.attribute("numFmtId").as_int();
        s.numberFormat =
            numFmt == 0   ? QStringLiteral("General")
            : numFmt == 1 ? QStringLiteral("0")
            : numFmt == 2
                ? QStringLiteral("0.00")
                : QString::fromUtf8(styles()
                                        .child("numFmts")
                                        .find_child_by_attribute("numFmt", "numFmtId",
                                                                 std::to_string(numFmt).c_str())
                                        .attribute("formatCode")
                                        .value());
        const pugi::xml_node align = xf.child("alignment");
        s.horizontal = QString::fromUtf8(align.attribute("horizontal").value());
        s.vertical = QString::fromUtf8(align.attribute("vertical").value());
        s.wrap = align.attribute("wrapText").as_bool();
        const pugi::xml_node border =
            nth(styles().child("borders"), xf.attribute("borderId").as_int());
        s.left = QString::fromUtf8(border.child("left").attribute("style").value());
        s.top = QString::fromUtf8(border.child("top").attribute("style").value());
        s.right = QString::fromUtf8(border.child("right").attribute("style").value());
        s.bottom = QString::fromUtf8(border.child("bottom").attribute("style").value());
        return s;
    }

  private:
    QByteArray sheetText_;
    pugi::xml_document sheet_;
    pugi::xml_document styles_;
};

/// Switches the C library to a Russian locale (decimal comma) for the scope, as a program
/// started on a Russian desktop runs; generates one with localedef into a temporary
/// folder when the system has none.
class RussianCLocale {
  public:
    RussianCLocale() {
        previous_ = std::setlocale(LC_ALL, nullptr);
        for (const char* name : {"ru_RU.UTF-8", "ru_RU.utf8"}) {
            if (std::setlocale(LC_ALL, name) != nullptr) {
                ok_ = true;
                return;
            }
        }
        if (!dir_.isValid() || !QFile::exists(QStringLiteral("/usr/share/i18n/locales/ru_RU"))) {
            return;
        }
        QProcess localedef;
        localedef.start(QStringLiteral("localedef"),
                        {QStringLiteral("-i"), QStringLiteral("ru_RU"), QStringLiteral("-f"),
                         QStringLiteral("UTF-8"), dir_.filePath(QStringLiteral("ru_RU.UTF-8"))});
        if (!localedef.waitForFinished(60000) || localedef.exitCode() != 0) return;
        qputenv("LOCPATH", QFile::encodeName(dir_.path()));
        ok_ = std::setlocale(LC_ALL, "ru_RU.UTF-8") != nullptr;
    }
    ~RussianCLocale() {
        std::setlocale(LC_ALL, previous_.c_str());
        qunsetenv("LOCPATH");
    }
    RussianCLocale(const RussianCLocale&) = delete;
    RussianCLocale& operator=(const RussianCLocale&) = delete;
    bool ok() const { return ok_; }

  private:
    std::string previous_;
    QTemporaryDir dir_;
    bool ok_ = false;
};

}  // namespace packagetest
