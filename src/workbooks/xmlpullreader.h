#pragma once

#include "result.h"

#include <QString>
#include <string>
#include <string_view>
#include <vector>

namespace normativ {

/// A streaming reader for the XML parts of a workbook package, one token at a time, in
/// memory proportional to the element depth (a document tree of a million-cell sheet
/// would not fit the readers' memory cap). Reads UTF-8 documents of elements,
/// attributes, character data, CDATA, comments and processing instructions; refuses any
/// DOCTYPE (and so every entity declaration), elements nested deeper than the limit,
/// malformed markup and invalid UTF-8. Names are given without their namespace prefix.
class XmlPullReader {
  public:
    enum class Token { StartElement, EndElement, Text, EndOfDocument };

    /// A reader of the document; refused when its bytes are not UTF-8. The document must
    /// outlive the reader.
    static Result<XmlPullReader> open(std::string_view document, int maxDepth = 64);

    /// The next token, or why the document is refused (Russian). After a refusal or
    /// EndOfDocument it stays there. An empty element gives a StartElement and then an
    /// EndElement. Character data between two tags comes as one Text token (entities
    /// decoded, CDATA joined, whitespace kept).
    Result<Token> next();

    /// The local name of the element just started or ended.
    std::string_view name() const { return localName_; }
    /// The decoded value of an attribute of the element just started, by local name;
    /// false when it has no such attribute or its value holds a malformed reference (the
    /// readers then treat it as missing).
    [[nodiscard]] bool attribute(std::string_view localName, std::string& value) const;
    /// The character data of the Text token.
    const std::string& text() const { return text_; }
    /// Depth of the current element: 1 for the root.
    int depth() const { return static_cast<int>(open_.size()); }

  private:
    XmlPullReader(std::string_view document, int maxDepth);
    Result<Token> fail(const QString& message);
    Status decodeInto(std::string_view raw, std::string& out) const;
    Result<Token> readStartTag();
    Result<Token> readEndTag();
    [[nodiscard]] bool skipPast(std::string_view terminator);

    std::string_view doc_;
    std::size_t pos_ = 0;
    int maxDepth_;
    std::vector<std::string_view> open_;  // qualified names of open elements
    std::string_view localName_;
    std::vector<std::pair<std::string_view, std::string_view>> attributes_;  // local, raw
    std::string text_;
    bool pendingEnd_ = false;
    bool sawRoot_ = false;
    bool done_ = false;
    QString refusal_;  // given again by every later next()
};

/// True when the bytes are well-formed UTF-8 (no overlong forms, surrogates or values
/// past U+10FFFF).
[[nodiscard]] bool isValidUtf8(std::string_view bytes);

}  // namespace normativ
