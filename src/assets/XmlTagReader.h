#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// Reads the tags of an XML text one after another, as a non-validating reader
// sees them: comments, CDATA sections, processing instructions and a
// document type are passed over. Whatever it cannot follow (a malformed or
// unterminated tag, comment or section, a document type with declarations
// that could define entities) ends the reading with a problem.
class XmlTagReader {
public:
    struct Attribute {
        std::string_view name;
        std::string value; // tabs and line ends as spaces, as XML readers give it
    };

    // One start, end or empty-element tag.
    struct Tag {
        std::string_view name;
        std::vector<Attribute> attributes;
        bool isEnd = false;
        bool isEmpty = false; // "<name/>"
        std::size_t at = 0;   // where its '<' is
        std::size_t end = 0;  // just past its '>'

        // Null when the tag has no such attribute.
        const std::string* attribute(std::string_view wanted) const;
    };

    explicit XmlTagReader(std::string_view text) : text(text) {}

    // The next tag into tag; false at the end of the text or at a problem.
    bool next(Tag& tag);

    // Empty unless the reading ended at something it cannot follow.
    const std::string& problem() const { return firstProblem; }
    std::size_t problemAt() const { return problemOffset; }

private:
    std::string_view text;
    std::size_t position = 0;
    std::string firstProblem;
    std::size_t problemOffset = 0;

    bool fail(std::size_t at, std::string what);
    bool skipPast(std::size_t at, std::string_view terminator);
    void skipBlanks(std::size_t& i) const;
    bool readTag(std::size_t at, Tag& tag);
    bool readAttribute(std::size_t& i, Tag& tag) const;
};
