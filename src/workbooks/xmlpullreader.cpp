#include "xmlpullreader.h"

#include "readertexts.h"

#include <array>
#include <cstdint>
#include <cstring>

namespace normativ {

namespace {

constexpr std::size_t kMaxAttributes = 256;

constexpr bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

// Which bytes may stand in a name, as a table: names are most of a sheet's markup.
constexpr std::array<bool, 256> kNameChars = [] {
    std::array<bool, 256> table{};
    for (int c = 0; c < 256; ++c) {
        const char ch = static_cast<char>(c);
        table[static_cast<std::size_t>(c)] = !isSpace(ch) && ch != '/' && ch != '>' && ch != '=' &&
                                             ch != '<' && ch != '"' && ch != '\'' && ch != '&';
    }
    return table;
}();

bool isNameChar(char c) {
    return kNameChars[static_cast<unsigned char>(c)];
}

// A name scanned from `pos` on: as written, and its local part after the last colon.
struct Name {
    std::string_view qualified;
    std::string_view local;
};

[[gnu::always_inline]] inline Name scanName(std::string_view doc, std::size_t& pos) {
    const std::size_t start = pos;
    std::size_t localStart = pos;
    for (; pos < doc.size() && isNameChar(doc[pos]); ++pos) {
        if (doc[pos] == ':') localStart = pos + 1;
    }
    return {doc.substr(start, pos - start), doc.substr(localStart, pos - localStart)};
}

void appendUtf8(std::string& out, std::uint32_t cp) {
    char bytes[4];
    std::size_t n = 0;
    if (cp < 0x80) {
        bytes[n++] = static_cast<char>(cp);
    } else if (cp < 0x800) {
        bytes[n++] = static_cast<char>(0xC0 | (cp >> 6));
        bytes[n++] = static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        bytes[n++] = static_cast<char>(0xE0 | (cp >> 12));
        bytes[n++] = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        bytes[n++] = static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        bytes[n++] = static_cast<char>(0xF0 | (cp >> 18));
        bytes[n++] = static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        bytes[n++] = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        bytes[n++] = static_cast<char>(0x80 | (cp & 0x3F));
    }
    out.append(bytes, n);
}

}  // namespace

bool isValidUtf8(std::string_view bytes) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto* end = p + bytes.size();
    while (p < end) {
        // Markup is ASCII: eight bytes at a time while none has its high bit set.
        while (end - p >= 8) {
            std::uint64_t word = 0;
            std::memcpy(&word, p, sizeof word);
            if ((word & 0x8080808080808080u) != 0) break;
            p += 8;
        }
        if (p == end) break;
        const unsigned char c = *p;
        if (c < 0x80) {
            ++p;
            continue;
        }
        // Two bytes, as Cyrillic letters take: a lead byte that isn't overlong and one
        // continuation byte; four such letters at a time while they follow each other.
        if (c >= 0xC2 && c <= 0xDF && end - p >= 2 && (p[1] & 0xC0) == 0x80) {
            p += 2;
            while (end - p >= 8) {
                std::uint64_t word = 0;
                std::memcpy(&word, p, sizeof word);
                // Leads 110xxxxx and continuations 10xxxxxx, byte by byte from the first.
                if ((word & 0xC0E0C0E0C0E0C0E0u) != 0x80C080C080C080C0u) break;
                // No lead may be C0 or C1 (overlong): bits 1 to 4 of each lead not all 0.
                const std::uint64_t leads = word & 0x001E001E001E001Eu;
                if (((leads - 0x0001000100010001u) & ~leads & 0x8000800080008000u) != 0) break;
                p += 8;
            }
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
}

Result<XmlPullReader> XmlPullReader::open(std::string_view document, int maxDepth) {
    if (!isValidUtf8(document)) {
        return Result<XmlPullReader>::failure(readerTexts().xmlNotUtf8);
    }
    return Result<XmlPullReader>::success(XmlPullReader(document, maxDepth));
}

Result<XmlPullReader::Token> XmlPullReader::fail(const QString& message) {
    refusal_ = message;
    return Result<Token>::failure(message);
}

bool XmlPullReader::skipPast(std::string_view terminator) {
    const auto at = doc_.find(terminator, pos_);
    if (at == std::string_view::npos) {
        return false;
    }
    pos_ = at + terminator.size();
    return true;
}

Status XmlPullReader::decodeInto(std::string_view raw, std::string& out) const {
    // Decoding never lengthens the text: one allocation at most.
    out.reserve(out.size() + raw.size());
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
            return Status::failure(readerTexts().xmlBadCharacterReference);
        }
        const std::string_view ref = raw.substr(amp + 1, semi - amp - 1);
        // Character references first: a writer that escapes every non-ASCII letter
        // writes little else.
        if (ref.size() >= 2 && ref[0] == '#') {
            const bool hex = ref[1] == 'x';
            const std::string_view digits = ref.substr(hex ? 2 : 1);
            std::uint32_t cp = 0;
            if (digits.empty() || digits.size() > 8) {
                return Status::failure(readerTexts().xmlBadCharacterReference);
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
                    return Status::failure(readerTexts().xmlBadCharacterReference);
                }
                cp = cp * (hex ? 16 : 10) + static_cast<std::uint32_t>(d);
            }
            if (cp == 0 || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
                return Status::failure(readerTexts().xmlBadCharacterReference);
            }
            appendUtf8(out, cp);
        } else if (ref == "lt") {
            out.push_back('<');
        } else if (ref == "gt") {
            out.push_back('>');
        } else if (ref == "amp") {
            out.push_back('&');
        } else if (ref == "quot") {
            out.push_back('"');
        } else if (ref == "apos") {
            out.push_back('\'');
        } else {
            // Without a DOCTYPE no other entity can be declared.
            return Status::failure(readerTexts().xmlUnknownEntity);
        }
        i = semi + 1;
    }
    return Status::success();
}

bool XmlPullReader::attribute(std::string_view localName, std::string& value) const {
    for (const auto& [name, raw] : attributes_) {
        if (name == localName) {
            value.clear();
            return decodeInto(raw, value).ok();
        }
    }
    return false;
}

Result<XmlPullReader::Token> XmlPullReader::readEndTag() {
    pos_ += 2;
    const Name name = scanName(doc_, pos_);
    const std::string_view qualified = name.qualified;
    while (pos_ < doc_.size() && isSpace(doc_[pos_])) {
        ++pos_;
    }
    if (pos_ >= doc_.size() || doc_[pos_] != '>') {
        return fail(readerTexts().xmlUnclosedTag);
    }
    ++pos_;
    if (open_.empty() || open_.back() != qualified) {
        return fail(readerTexts().xmlMismatchedTags);
    }
    open_.pop_back();
    localName_ = name.local;
    return Result<Token>::success(Token::EndElement);
}

Result<XmlPullReader::Token> XmlPullReader::readStartTag() {
    if (sawRoot_ && open_.empty()) {
        return fail(readerTexts().xmlSecondRoot);
    }
    ++pos_;
    const Name name = scanName(doc_, pos_);
    const std::string_view qualified = name.qualified;
    if (qualified.empty()) {
        return fail(readerTexts().xmlBadTag);
    }
    attributes_.clear();
    for (;;) {
        const std::size_t before = pos_;
        while (pos_ < doc_.size() && isSpace(doc_[pos_])) {
            ++pos_;
        }
        if (pos_ >= doc_.size()) {
            return fail(readerTexts().xmlUnclosedTag);
        }
        const char c = doc_[pos_];
        if (c == '>') {
            ++pos_;
            break;
        }
        if (c == '/') {
            if (pos_ + 1 >= doc_.size() || doc_[pos_ + 1] != '>') {
                return fail(readerTexts().xmlBadTag);
            }
            pos_ += 2;
            pendingEnd_ = true;
            break;
        }
        if (pos_ == before) {
            return fail(readerTexts().xmlBadTag);
        }
        const Name attrName = scanName(doc_, pos_);
        while (pos_ < doc_.size() && isSpace(doc_[pos_])) {
            ++pos_;
        }
        if (attrName.qualified.empty() || pos_ >= doc_.size() || doc_[pos_] != '=') {
            return fail(readerTexts().xmlBadAttribute);
        }
        ++pos_;
        while (pos_ < doc_.size() && isSpace(doc_[pos_])) {
            ++pos_;
        }
        if (pos_ >= doc_.size() || (doc_[pos_] != '"' && doc_[pos_] != '\'')) {
            return fail(readerTexts().xmlBadAttribute);
        }
        const char quote = doc_[pos_++];
        const auto close = doc_.find(quote, pos_);
        if (close == std::string_view::npos) {
            return fail(readerTexts().xmlUnclosedAttribute);
        }
        const std::string_view raw = doc_.substr(pos_, close - pos_);
        if (raw.find('<') != std::string_view::npos) {
            return fail(readerTexts().xmlBadAttribute);
        }
        pos_ = close + 1;
        if (attributes_.size() >= kMaxAttributes) {
            return fail(readerTexts().xmlTooManyAttributes);
        }
        if (!attrName.qualified.starts_with("xmlns")) {
            attributes_.emplace_back(attrName.local, raw);
        }
    }
    open_.push_back(qualified);
    if (static_cast<int>(open_.size()) > maxDepth_) {
        return fail(readerTexts().xmlTooDeep);
    }
    sawRoot_ = true;
    localName_ = name.local;
    return Result<Token>::success(Token::StartElement);
}

Result<XmlPullReader::Token> XmlPullReader::next() {
    if (!refusal_.isEmpty()) {
        return Result<Token>::failure(refusal_);
    }
    if (done_) {
        return Result<Token>::success(Token::EndOfDocument);
    }
    if (pendingEnd_) {
        pendingEnd_ = false;
        open_.pop_back();
        return Result<Token>::success(Token::EndElement);
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
                        return fail(readerTexts().xmlTextOutsideRoot);
                    }
                }
                continue;
            }
            if (Status decoded = decodeInto(raw, text_); !decoded) {
                return fail(decoded.error());
            }
            haveText = true;
            continue;
        }
        // What follows the '<' tells the markup apart.
        const char kind = pos_ + 1 < doc_.size() ? doc_[pos_ + 1] : '\0';
        if (kind == '!' && doc_.compare(pos_, 9, "<![CDATA[") == 0) {
            if (open_.empty()) {
                return fail(readerTexts().xmlTextOutsideRoot);
            }
            const auto close = doc_.find("]]>", pos_ + 9);
            if (close == std::string_view::npos) {
                return fail(readerTexts().xmlUnclosedCdata);
            }
            text_.append(doc_.substr(pos_ + 9, close - pos_ - 9));
            pos_ = close + 3;
            haveText = true;
            continue;
        }
        if (haveText) {
            return Result<Token>::success(Token::Text);
        }
        if (kind == '!' && doc_.compare(pos_, 4, "<!--") == 0) {
            pos_ += 4;
            if (!skipPast("-->")) {
                return fail(readerTexts().xmlUnclosedComment);
            }
            continue;
        }
        if (kind == '?') {
            pos_ += 2;
            if (!skipPast("?>")) {
                return fail(readerTexts().xmlUnclosedInstruction);
            }
            continue;
        }
        if (kind == '!') {
            return fail(readerTexts().xmlDoctype);
        }
        if (kind == '/') {
            return readEndTag();
        }
        return readStartTag();
    }
    if (haveText) {
        return Result<Token>::success(Token::Text);
    }
    if (!open_.empty()) {
        return fail(readerTexts().xmlCutShort);
    }
    if (!sawRoot_) {
        return fail(readerTexts().xmlNoElements);
    }
    done_ = true;
    return Result<Token>::success(Token::EndOfDocument);
}

}  // namespace normativ
