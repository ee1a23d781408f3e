#include "assets/XmlTagReader.h"

#include <algorithm>
#include <utility>

namespace {

constexpr std::size_t npos = std::string_view::npos;

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

} // namespace

const std::string* XmlTagReader::Tag::attribute(std::string_view wanted) const
{
    for (const Attribute& attribute : attributes) {
        if (attribute.name == wanted) {
            return &attribute.value;
        }
    }
    return nullptr;
}

bool XmlTagReader::next(Tag& tag)
{
    while (firstProblem.empty()) {
        const std::size_t at = text.find('<', position);
        if (at == npos) {
            position = text.size();
            return false;
        }
        const std::string_view rest = text.substr(at);
        if (rest.starts_with("<!--")) {
            skipPast(at, "-->");
        } else if (rest.starts_with("<![CDATA[")) {
            skipPast(at, "]]>");
        } else if (rest.starts_with("<?")) {
            skipPast(at, "?>");
        } else if (rest.starts_with("<!")) {
            const std::size_t close = text.find('>', at);
            if (close == npos || text.find('[', at) < close) {
                return fail(at, "a document type with declarations");
            }
            position = close + 1;
        } else {
            tag = Tag{};
            return readTag(at, tag);
        }
    }
    return false;
}

bool XmlTagReader::fail(std::size_t at, std::string what)
{
    firstProblem = std::move(what);
    problemOffset = at;
    position = text.size();
    return false;
}

bool XmlTagReader::skipPast(std::size_t at, std::string_view terminator)
{
    const std::size_t found = text.find(terminator, at + 2);
    if (found == npos) {
        return fail(at, "an unterminated comment, CDATA section or instruction");
    }
    position = found + terminator.size();
    return true;
}

void XmlTagReader::skipBlanks(std::size_t& i) const
{
    while (i < text.size() && isBlank(text[i])) {
        ++i;
    }
}

bool XmlTagReader::readTag(std::size_t at, Tag& tag)
{
    tag.at = at;
    std::size_t i = at + 1;
    if (i < text.size() && text[i] == '/') {
        tag.isEnd = true;
        ++i;
    }
    const std::size_t nameStart = i;
    while (i < text.size() && !isBlank(text[i]) && text[i] != '>' && text[i] != '/') {
        ++i;
    }
    tag.name = text.substr(nameStart, i - nameStart);
    if (tag.name.empty()) {
        return fail(at, "a malformed tag");
    }
    for (;;) {
        skipBlanks(i);
        if (i >= text.size()) {
            return fail(at, "an unterminated tag");
        }
        if (text[i] == '>') {
            tag.end = i + 1;
            break;
        }
        if (text.substr(i).starts_with("/>")) {
            tag.isEmpty = true;
            tag.end = i + 2;
            break;
        }
        if (tag.isEnd || !readAttribute(i, tag)) {
            return fail(at, "a malformed tag");
        }
    }
    position = tag.end;
    return true;
}

bool XmlTagReader::readAttribute(std::size_t& i, Tag& tag) const
{
    const std::size_t nameStart = i;
    while (i < text.size() && !isBlank(text[i]) && text[i] != '=' && text[i] != '>' && text[i] != '/') {
        ++i;
    }
    Attribute attribute;
    attribute.name = text.substr(nameStart, i - nameStart);
    skipBlanks(i);
    if (attribute.name.empty() || i >= text.size() || text[i] != '=') {
        return false;
    }
    ++i;
    skipBlanks(i);
    if (i >= text.size() || (text[i] != '"' && text[i] != '\'')) {
        return false;
    }
    const char quote = text[i++];
    const std::size_t close = text.find(quote, i);
    if (close == npos) {
        return false;
    }
    attribute.value = std::string(text.substr(i, close - i));
    std::replace_if(attribute.value.begin(), attribute.value.end(), isBlank, ' ');
    tag.attributes.push_back(std::move(attribute));
    i = close + 1;
    return true;
}
