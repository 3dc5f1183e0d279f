#include "jsonsink.h"

#include <QJsonArray>

#include <cmath>

namespace normativ {

void JsonTree::key(QLatin1StringView key) {
    levels_.back().key = key;
}

void JsonTree::add(QJsonValue value) {
    Level& level = levels_.back();
    if (level.array) {
        level.elements.push_back(std::move(value));
    } else {
        level.object.insert(level.key, std::move(value));
    }
}

void JsonTree::string(const QString& text) {
    add(QJsonValue(text));
}

void JsonTree::number(double value) {
    add(std::isfinite(value) ? QJsonValue(value) : QJsonValue());
}

void JsonTree::boolean(bool value) {
    add(QJsonValue(value));
}

void JsonTree::null() {
    add(QJsonValue());
}

void JsonTree::beginObject() {
    levels_.push_back(Level{});
}

void JsonTree::endObject() {
    QJsonObject object = std::move(levels_.back().object);
    levels_.pop_back();
    if (levels_.empty()) {
        result_ = std::move(object);
    } else {
        add(QJsonValue(std::move(object)));
    }
}

void JsonTree::beginArray() {
    levels_.push_back(Level{true, {}, {}, {}});
}

void JsonTree::endArray() {
    QJsonArray elements = std::move(levels_.back().elements);
    levels_.pop_back();
    add(QJsonValue(std::move(elements)));
}

void appendJsonEscaped(QByteArray& out, QStringView text) {
    // At most six bytes a character (an escape), written in place.
    const qsizetype start = out.size();
    out.resize(start + 6 * text.size());
    char* to = out.data() + start;
    const auto hex = [](unsigned digit) {
        return static_cast<char>(digit < 10 ? '0' + digit : 'a' + digit - 10);
    };
    const auto unicodeEscape = [&](char16_t u) {
        *to++ = '\\';
        *to++ = 'u';
        *to++ = hex(u >> 12);
        *to++ = hex((u >> 8) & 0xF);
        *to++ = hex((u >> 4) & 0xF);
        *to++ = hex(u & 0xF);
    };
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        const char16_t u = text[i].unicode();
        if (u >= 0x80) {
            if (QChar::isHighSurrogate(u) && i + 1 < size &&
                QChar::isLowSurrogate(text[i + 1].unicode())) {
                const char32_t c = QChar::surrogateToUcs4(u, text[i + 1].unicode());
                *to++ = static_cast<char>(0xF0 | (c >> 18));
                *to++ = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
                *to++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
                *to++ = static_cast<char>(0x80 | (c & 0x3F));
                ++i;
            } else if (QChar::isSurrogate(u)) {
                // A lone half of a pair has no UTF-8: an escape.
                unicodeEscape(u);
            } else if (u < 0x800) {
                *to++ = static_cast<char>(0xC0 | (u >> 6));
                *to++ = static_cast<char>(0x80 | (u & 0x3F));
            } else {
                *to++ = static_cast<char>(0xE0 | (u >> 12));
                *to++ = static_cast<char>(0x80 | ((u >> 6) & 0x3F));
                *to++ = static_cast<char>(0x80 | (u & 0x3F));
            }
            continue;
        }
        switch (u) {
            case u'"':
                *to++ = '\\';
                *to++ = '"';
                break;
            case u'\\':
                *to++ = '\\';
                *to++ = '\\';
                break;
            case u'\b':
                *to++ = '\\';
                *to++ = 'b';
                break;
            case u'\f':
                *to++ = '\\';
                *to++ = 'f';
                break;
            case u'\n':
                *to++ = '\\';
                *to++ = 'n';
                break;
            case u'\r':
                *to++ = '\\';
                *to++ = 'r';
                break;
            case u'\t':
                *to++ = '\\';
                *to++ = 't';
                break;
            default:
                if (u < 0x20) {
                    unicodeEscape(u);
                } else {
                    *to++ = static_cast<char>(u);
                }
        }
    }
    out.resize(to - out.constData());
}

void appendJsonEscaped(QByteArray& out, QLatin1StringView text) {
    for (const char c : text) {
        if (c < 0x20 || c == '"' || c == '\\') {
            appendJsonEscaped(out, QString(text));
            return;
        }
    }
    out.append(text.data(), text.size());
}

void JsonText::indent(int depth) {
    out_.append(4 * depth, ' ');
}

// An array's values start their own lines; a member's value follows its key.
void JsonText::beforeValue() {
    if (afterKey_) {
        afterKey_ = false;
        return;
    }
    if (open_.empty()) return;
    auto& [empty, array] = open_.back();
    out_.append(empty ? "\n" : ",\n");
    empty = false;
    indent(depth_ + static_cast<int>(open_.size()));
}

void JsonText::key(QLatin1StringView key) {
    auto& [empty, array] = open_.back();
    out_.append(empty ? "\n" : ",\n");
    empty = false;
    indent(depth_ + static_cast<int>(open_.size()));
    out_.append('"');
    appendJsonEscaped(out_, key);
    out_.append("\": ");
    afterKey_ = true;
}

void JsonText::string(const QString& text) {
    beforeValue();
    out_.append('"');
    appendJsonEscaped(out_, text);
    out_.append('"');
}

void JsonText::number(double value) {
    beforeValue();
    if (!std::isfinite(value)) {
        out_.append("null");
    } else if (value == std::floor(value) && std::fabs(value) <= 9007199254740992.0) {
        // QJsonDocument prints a whole number that a double holds exactly (up to 2^53)
        // as an integer, any other number in its shortest form.
        out_.append(QByteArray::number(static_cast<qint64>(value)));
    } else {
        out_.append(QByteArray::number(value, 'g', QLocale::FloatingPointShortest));
    }
}

void JsonText::boolean(bool value) {
    beforeValue();
    out_.append(value ? "true" : "false");
}

void JsonText::null() {
    beforeValue();
    out_.append("null");
}

void JsonText::open(char bracket) {
    beforeValue();
    out_.append(bracket);
    open_.emplace_back(true, bracket == '[');
}

void JsonText::close(char bracket) {
    open_.pop_back();
    out_.append('\n');
    indent(depth_ + static_cast<int>(open_.size()));
    out_.append(bracket);
}

void JsonText::beginObject() {
    open('{');
}

void JsonText::endObject() {
    close('}');
}

void JsonText::beginArray() {
    open('[');
}

void JsonText::endArray() {
    close(']');
}

}  // namespace normativ
