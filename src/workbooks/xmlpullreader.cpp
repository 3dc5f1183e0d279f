#include "xmlpullreader.h"

#include <cstdint>

namespace normativ {

namespace {

constexpr std::size_t kMaxAttributes = 256;

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

bool isNameChar(char c) {
    return !isSpace(c) && c != '/' && c != '>' && c != '=' && c != '<' && c != '"' && c != '\'' &&
           c != '&';
}

std::string_view localOf(std::string_view qualified) {
    const auto colon = qualified.rfind(':');
    return colon == std::string_view::npos ? qualified : qualified.substr(colon + 1);
}

void appendUtf8(std::string& out, std::uint32_t cp) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

}  // namespace

bool isValidUtf8(std::string_view bytes) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto* end = p + bytes.size();
    while (p < end) {
        const unsigned char c = *p;
        if (c < 0x80) {
            ++p;
            continue;
        }
        int extra = 0;
        std::uint32_t cp = 0;
        if (c >= 0xC2 && c <= 0xDF) {
            extra = 1;
            cp = c & 0x1F;
        } else if (c >= 0xE0 && c <= 0xEF) {
            extra = 2;
            cp = c & 0x0F;
        } else if (c >= 0xF0 && c <= 0xF4) {
            extra = 3;
            cp = c & 0x07;
        } else {
            return false;
        }
        if (end - p <= extra) {
            return false;
        }
        for (int i = 1; i <= extra; ++i) {
            if ((p[i] & 0xC0) != 0x80) {
                return false;
            }
            cp = (cp << 6) | (p[i] & 0x3F);
        }
        if ((extra == 2 && cp < 0x800) || (extra == 3 && (cp < 0x10000 || cp > 0x10FFFF)) ||
            (cp >= 0xD800 && cp <= 0xDFFF)) {
            return false;
        }
        p += extra + 1;
    }
    return true;
}

XmlPullReader::XmlPullReader(std::string_view document, int maxDepth)
    : doc_(document), maxDepth_(maxDepth) {
    if (doc_.substr(0, 3) == "\xEF\xBB\xBF") {
        pos_ = 3;
    }
    if (!isValidUtf8(doc_)) {
        fail(QStringLiteral("текст XML не в кодировке UTF-8"));
    }
}

XmlPullReader::Token XmlPullReader::fail(const QString& message) {
    if (!failed_) {
        failed_ = true;
        error_ = message;
    }
    return Token::Error;
}

bool XmlPullReader::skipPast(std::string_view terminator) {
    const auto at = doc_.find(terminator, pos_);
    if (at == std::string_view::npos) {
        return false;
    }
    pos_ = at + terminator.size();
    return true;
}

bool XmlPullReader::decodeInto(std::string_view raw, std::string& out, QString& error) const {
    std::size_t i = 0;
    while (i < raw.size()) {
        const auto amp = raw.find('&', i);
        if (amp == std::string_view::npos) {
            out.append(raw.substr(i));
            break;
        }
        out.append(raw.substr(i, amp - i));
        const auto semi = raw.find(';', amp);
        if (semi == std::string_view::npos || semi - amp > 12) {
            error = QStringLiteral("неверная ссылка на символ в XML");
            return false;
        }
        const std::string_view ref = raw.substr(amp + 1, semi - amp - 1);
        if (ref == "lt") {
            out.push_back('<');
        } else if (ref == "gt") {
            out.push_back('>');
        } else if (ref == "amp") {
            out.push_back('&');
        } else if (ref == "quot") {
            out.push_back('"');
        } else if (ref == "apos") {
            out.push_back('\'');
        } else if (ref.size() >= 2 && ref[0] == '#') {
            const bool hex = ref[1] == 'x';
            const std::string_view digits = ref.substr(hex ? 2 : 1);
            std::uint32_t cp = 0;
            if (digits.empty() || digits.size() > 8) {
                error = QStringLiteral("неверная ссылка на символ в XML");
                return false;
            }
            for (char c : digits) {
                int d = -1;
                if (c >= '0' && c <= '9') {
                    d = c - '0';
                } else if (hex && c >= 'a' && c <= 'f') {
                    d = c - 'a' + 10;
                } else if (hex && c >= 'A' && c <= 'F') {
                    d = c - 'A' + 10;
                }
                if (d < 0) {
                    error = QStringLiteral("неверная ссылка на символ в XML");
                    return false;
                }
                cp = cp * (hex ? 16 : 10) + static_cast<std::uint32_t>(d);
            }
            if (cp == 0 || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
                error = QStringLiteral("неверная ссылка на символ в XML");
                return false;
            }
            appendUtf8(out, cp);
        } else {
            // Without a DOCTYPE no other entity can be declared.
            error = QStringLiteral("неизвестная сущность в XML");
            return false;
        }
        i = semi + 1;
    }
    return true;
}

bool XmlPullReader::attribute(std::string_view localName, std::string& value) const {
    for (const auto& [name, raw] : attributes_) {
        if (name == localName) {
            value.clear();
            QString ignored;
            return decodeInto(raw, value, ignored);
        }
    }
    return false;
}

XmlPullReader::Token XmlPullReader::readEndTag() {
    pos_ += 2;
    const std::size_t start = pos_;
    while (pos_ < doc_.size() && isNameChar(doc_[pos_])) {
        ++pos_;
    }
    const std::string_view qualified = doc_.substr(start, pos_ - start);
    while (pos_ < doc_.size() && isSpace(doc_[pos_])) {
        ++pos_;
    }
    if (pos_ >= doc_.size() || doc_[pos_] != '>') {
        return fail(QStringLiteral("незакрытый тег в XML"));
    }
    ++pos_;
    if (open_.empty() || open_.back() != qualified) {
        return fail(QStringLiteral("теги XML не соответствуют друг другу"));
    }
    open_.pop_back();
    localName_ = localOf(qualified);
    return Token::EndElement;
}

XmlPullReader::Token XmlPullReader::readStartTag() {
    if (sawRoot_ && open_.empty()) {
        return fail(QStringLiteral("в XML больше одного корневого элемента"));
    }
    ++pos_;
    const std::size_t start = pos_;
    while (pos_ < doc_.size() && isNameChar(doc_[pos_])) {
        ++pos_;
    }
    const std::string_view qualified = doc_.substr(start, pos_ - start);
    if (qualified.empty()) {
        return fail(QStringLiteral("неверный тег в XML"));
    }
    attributes_.clear();
    for (;;) {
        const std::size_t before = pos_;
        while (pos_ < doc_.size() && isSpace(doc_[pos_])) {
            ++pos_;
        }
        if (pos_ >= doc_.size()) {
            return fail(QStringLiteral("незакрытый тег в XML"));
        }
        const char c = doc_[pos_];
        if (c == '>') {
            ++pos_;
            break;
        }
        if (c == '/') {
            if (pos_ + 1 >= doc_.size() || doc_[pos_ + 1] != '>') {
                return fail(QStringLiteral("неверный тег в XML"));
            }
            pos_ += 2;
            pendingEnd_ = true;
            break;
        }
        if (pos_ == before) {
            return fail(QStringLiteral("неверный тег в XML"));
        }
        const std::size_t nameStart = pos_;
        while (pos_ < doc_.size() && isNameChar(doc_[pos_])) {
            ++pos_;
        }
        const std::string_view attrName = doc_.substr(nameStart, pos_ - nameStart);
        while (pos_ < doc_.size() && isSpace(doc_[pos_])) {
            ++pos_;
        }
        if (attrName.empty() || pos_ >= doc_.size() || doc_[pos_] != '=') {
            return fail(QStringLiteral("неверный атрибут в XML"));
        }
        ++pos_;
        while (pos_ < doc_.size() && isSpace(doc_[pos_])) {
            ++pos_;
        }
        if (pos_ >= doc_.size() || (doc_[pos_] != '"' && doc_[pos_] != '\'')) {
            return fail(QStringLiteral("неверный атрибут в XML"));
        }
        const char quote = doc_[pos_++];
        const auto close = doc_.find(quote, pos_);
        if (close == std::string_view::npos) {
            return fail(QStringLiteral("незакрытый атрибут в XML"));
        }
        const std::string_view raw = doc_.substr(pos_, close - pos_);
        if (raw.find('<') != std::string_view::npos) {
            return fail(QStringLiteral("неверный атрибут в XML"));
        }
        pos_ = close + 1;
        if (attributes_.size() >= kMaxAttributes) {
            return fail(QStringLiteral("слишком много атрибутов в XML"));
        }
        if (attrName.substr(0, 5) != "xmlns") {
            attributes_.emplace_back(localOf(attrName), raw);
        }
    }
    open_.push_back(qualified);
    if (static_cast<int>(open_.size()) > maxDepth_) {
        return fail(QStringLiteral("слишком глубокая вложенность XML"));
    }
    sawRoot_ = true;
    localName_ = localOf(qualified);
    return Token::StartElement;
}

XmlPullReader::Token XmlPullReader::next() {
    if (failed_) {
        return Token::Error;
    }
    if (done_) {
        return Token::EndOfDocument;
    }
    if (pendingEnd_) {
        pendingEnd_ = false;
        open_.pop_back();
        return Token::EndElement;
    }
    text_.clear();
    bool haveText = false;
    while (pos_ < doc_.size()) {
        if (doc_[pos_] != '<') {
            const auto lt = doc_.find('<', pos_);
            const std::size_t end = lt == std::string_view::npos ? doc_.size() : lt;
            const std::string_view raw = doc_.substr(pos_, end - pos_);
            pos_ = end;
            if (open_.empty()) {
                for (char c : raw) {
                    if (!isSpace(c)) {
                        return fail(QStringLiteral("текст вне корневого элемента XML"));
                    }
                }
                continue;
            }
            QString error;
            if (!decodeInto(raw, text_, error)) {
                return fail(error);
            }
            haveText = true;
            continue;
        }
        const std::string_view rest = doc_.substr(pos_);
        if (rest.substr(0, 9) == "<![CDATA[") {
            if (open_.empty()) {
                return fail(QStringLiteral("текст вне корневого элемента XML"));
            }
            const auto close = doc_.find("]]>", pos_ + 9);
            if (close == std::string_view::npos) {
                return fail(QStringLiteral("незакрытый блок CDATA в XML"));
            }
            text_.append(doc_.substr(pos_ + 9, close - pos_ - 9));
            pos_ = close + 3;
            haveText = true;
            continue;
        }
        if (haveText) {
            return Token::Text;
        }
        if (rest.substr(0, 4) == "<!--") {
            pos_ += 4;
            if (!skipPast("-->")) {
                return fail(QStringLiteral("незакрытый комментарий в XML"));
            }
            continue;
        }
        if (rest.substr(0, 2) == "<?") {
            pos_ += 2;
            if (!skipPast("?>")) {
                return fail(QStringLiteral("незакрытая инструкция в XML"));
            }
            continue;
        }
        if (rest.substr(0, 2) == "<!") {
            return fail(QStringLiteral("XML с объявлением DOCTYPE не принимается"));
        }
        if (rest.substr(0, 2) == "</") {
            return readEndTag();
        }
        return readStartTag();
    }
    if (haveText) {
        return Token::Text;
    }
    if (!open_.empty()) {
        return fail(QStringLiteral("XML обрывается до конца"));
    }
    if (!sawRoot_) {
        return fail(QStringLiteral("в XML нет элементов"));
    }
    done_ = true;
    return Token::EndOfDocument;
}

}  // namespace normativ
