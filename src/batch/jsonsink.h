#pragma once

#include <QByteArray>
#include <QJsonArray>
#include <QJsonObject>
#include <QJsonValue>
#include <QLatin1StringView>
#include <QString>
#include <vector>

namespace normativ {

/// Receives a JSON value piece by piece. An object's members come in the order of their
/// keys, the order QJsonObject keeps and prints them in, so that the pieces can be
/// printed as they come.
class JsonSink {
  public:
    virtual ~JsonSink() = default;
    /// The key of the next member of the object being written.
    virtual void key(QLatin1StringView key) = 0;
    virtual void string(const QString& text) = 0;
    /// A number that is not finite is null.
    virtual void number(double value) = 0;
    virtual void boolean(bool value) = 0;
    virtual void null() = 0;
    virtual void beginObject() = 0;
    virtual void endObject() = 0;
    virtual void beginArray() = 0;
    virtual void endArray() = 0;
};

/// Builds the object the pieces describe, as QJsonObject and QJsonArray.
class JsonTree final : public JsonSink {
  public:
    void key(QLatin1StringView key) override;
    void string(const QString& text) override;
    void number(double value) override;
    void boolean(bool value) override;
    void null() override;
    void beginObject() override;
    void endObject() override;
    void beginArray() override;
    void endArray() override;
    /// The outermost object, once it has ended.
    QJsonObject object() const { return result_; }

  private:
    struct Level {
        bool array = false;
        QJsonObject object;
        QJsonArray elements;
        QString key;  // of the member being written
    };
    void add(QJsonValue value);
    std::vector<Level> levels_;
    QJsonObject result_;
};

/// Prints the pieces as QJsonDocument::toJson(QJsonDocument::Indented) prints the same
/// value standing `depth` levels deep (an item of a top-level array is 1 deep), without
/// building it: a run prints every input's document.
class JsonText final : public JsonSink {
  public:
    JsonText(QByteArray& out, int depth) : out_(out), depth_(depth) {}
    void key(QLatin1StringView key) override;
    void string(const QString& text) override;
    void number(double value) override;
    void boolean(bool value) override;
    void null() override;
    void beginObject() override;
    void endObject() override;
    void beginArray() override;
    void endArray() override;

  private:
    void beforeValue();
    void open(char bracket);
    void close(char bracket);
    void indent(int depth);
    QByteArray& out_;
    int depth_;
    // For each open object or array: whether it holds nothing yet and whether it is an
    // array (whose values start their own lines).
    std::vector<std::pair<bool, bool>> open_;
    bool afterKey_ = false;
};

/// `text` as a JSON string's content, escaped as QJsonDocument escapes it.
void appendJsonEscaped(QByteArray& out, QStringView text);
void appendJsonEscaped(QByteArray& out, QLatin1StringView text);

}  // namespace normativ
