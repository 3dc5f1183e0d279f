// A document printed piece by piece as QJsonDocument prints the same document built
// whole: the strings' escapes, the numbers' forms, the indentation of nested objects and
// arrays, empty ones included.

#include "jsonsink.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QRandomGenerator>
#include <QtTest>

#include <cmath>
#include <cstring>
#include <limits>

using namespace normativ;

namespace {

// Both sinks at once: the tree QJsonDocument prints, and the text printed directly.
class BothSinks final : public JsonSink {
  public:
    explicit BothSinks(int depth) : text_(printed, depth) {}
    void key(QLatin1StringView key) override {
        each([&](JsonSink& s) { s.key(key); });
    }
    void string(const QString& t) override {
        each([&](JsonSink& s) { s.string(t); });
    }
    void number(double v) override {
        each([&](JsonSink& s) { s.number(v); });
    }
    void boolean(bool v) override {
        each([&](JsonSink& s) { s.boolean(v); });
    }
    void null() override {
        each([](JsonSink& s) { s.null(); });
    }
    void beginObject() override {
        each([](JsonSink& s) { s.beginObject(); });
    }
    void endObject() override {
        each([](JsonSink& s) { s.endObject(); });
    }
    void beginArray() override {
        each([](JsonSink& s) { s.beginArray(); });
    }
    void endArray() override {
        each([](JsonSink& s) { s.endArray(); });
    }

    QJsonObject object() const { return tree_.object(); }
    QByteArray printed;

  private:
    template <typename F>
    void each(F f) {
        f(tree_);
        f(text_);
    }
    JsonTree tree_;
    JsonText text_;
};

// QJsonDocument's text of `object` as an item of a top-level array (one level deep,
// without the array's brackets), the form a batch prints its items in.
QByteArray asArrayItem(const QJsonObject& object) {
    const QByteArray array = QJsonDocument(QJsonArray{object}).toJson(QJsonDocument::Indented);
    return array.mid(2, array.size() - 5);
}

}  // namespace

class TestJsonSink : public QObject {
    Q_OBJECT

  private slots:
    // Every UTF-16 unit alone (the lone halves of pairs too), a pair, and the characters
    // JSON escapes, as keys' values in an object.
    void strings() {
        BothSinks both(1);
        both.printed = "    ";
        both.beginObject();
        both.key(QLatin1StringView("all"));
        both.beginArray();
        for (char32_t u = 0; u <= 0xFFFF; ++u) both.string(QString(QChar(char16_t(u))));
        both.string(QString::fromUcs4(U"😀 emoji, \"quoted\" \\ / \b\f\n\r\t\x7f"));
        both.string(QString(QChar(char16_t(0xDE00))) + QChar(char16_t(0xD83D)));
        both.endArray();
        both.endObject();
        QCOMPARE(both.printed, "    " + asArrayItem(both.object()).mid(4));
    }

    // Whole numbers that a double holds exactly print as integers, the others in their
    // shortest form; what is not finite is null.
    void numbers() {
        const double p53 = 9007199254740992.0;
        QList<double> values{0.0,
                             -0.0,
                             45.0,
                             1e15,
                             1e16,
                             p53,
                             p53 + 2,
                             -p53,
                             -p53 - 2,
                             0.1,
                             184121.85981568324,
                             1e-7,
                             5e-324,
                             1e300,
                             -1.5e-5,
                             123456789012345678.0,
                             12345678901234567890.0,
                             std::numeric_limits<double>::infinity(),
                             std::numeric_limits<double>::quiet_NaN()};
        QRandomGenerator random(2011);
        for (int i = 0; i < 20000; ++i) {
            const quint64 bits = random.generate64();
            double d = 0;
            std::memcpy(&d, &bits, sizeof d);
            values << d << std::ldexp(double(random.generate64() >> 11), random.bounded(-60, 60))
                   << double(qint64(random.generate64() >> random.bounded(1, 63)));
        }
        BothSinks both(1);
        both.beginObject();
        both.key(QLatin1StringView("numbers"));
        both.beginArray();
        for (double v : values) both.number(v);
        both.endArray();
        both.endObject();
        QCOMPARE(both.printed, asArrayItem(both.object()).mid(4));
    }

    // Objects and arrays in each other, empty ones, at the top level and one level deep.
    void nesting() {
        for (const int depth : {0, 1, 3}) {
            BothSinks both(depth);
            both.beginObject();
            both.key(QLatin1StringView("a"));
            both.beginArray();
            both.beginArray();
            both.endArray();
            both.beginObject();
            both.endObject();
            both.beginArray();
            both.string(QStringLiteral("x"));
            both.boolean(false);
            both.null();
            both.endArray();
            both.endArray();
            both.key(QLatin1StringView("b"));
            both.beginObject();
            both.key(QLatin1StringView("c"));
            both.boolean(true);
            both.endObject();
            both.key(QLatin1StringView("d"));
            both.beginObject();
            both.endObject();
            both.endObject();
            QByteArray expected = QJsonDocument(both.object()).toJson(QJsonDocument::Indented);
            expected.chop(1);  // the document's final line break
            expected.replace("\n", "\n" + QByteArray(4 * depth, ' '));
            QCOMPARE(both.printed, expected);
        }
    }
};

QTEST_GUILESS_MAIN(TestJsonSink)
#include "test_jsonsink.moc"
