#include "assets/XmlTagReader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Every tag the reader gives, as "<name>", "</name>" or "<name/>".
std::vector<std::string> tagsOf(const std::string& text, std::string* problem = nullptr)
{
    XmlTagReader reader(text);
    XmlTagReader::Tag tag;
    std::vector<std::string> tags;
    while (reader.next(tag)) {
        tags.push_back((tag.isEnd ? "</" : "<") + std::string(tag.name) + (tag.isEmpty ? "/>" : ">"));
    }
    if (problem) {
        *problem = reader.problem();
    }
    return tags;
}

} // namespace

TEST(XmlTagReader, GivesTagsWithTheirAttributesAndPlaces)
{
    const std::string text = "<?xml version=\"1.0\"?>\n<a x = '1\t2' y=\"\"><b/>text</a >";
    XmlTagReader reader(text);
    XmlTagReader::Tag tag;
    ASSERT_TRUE(reader.next(tag));
    EXPECT_EQ(tag.name, "a");
    EXPECT_EQ(tag.at, text.find("<a"));
    EXPECT_EQ(tag.end, text.find("<b"));
    ASSERT_NE(tag.attribute("x"), nullptr);
    EXPECT_EQ(*tag.attribute("x"), "1 2");
    EXPECT_EQ(*tag.attribute("y"), "");
    EXPECT_EQ(tag.attribute("z"), nullptr);
    ASSERT_TRUE(reader.next(tag));
    EXPECT_TRUE(tag.isEmpty);
    EXPECT_TRUE(tag.attributes.empty());
    ASSERT_TRUE(reader.next(tag));
    EXPECT_TRUE(tag.isEnd);
    EXPECT_EQ(tag.name, "a");
    EXPECT_FALSE(reader.next(tag));
    EXPECT_EQ(reader.problem(), "");
}

TEST(XmlTagReader, PassesOverCommentsSectionsInstructionsAndDocumentTypes)
{
    EXPECT_EQ(tagsOf("<!DOCTYPE c><!-- <x> --><a><![CDATA[<y>]]><?pi <z>?></a>"),
              (std::vector<std::string>{"<a>", "</a>"}));
    // A '>' inside quotes does not end the tag.
    EXPECT_EQ(tagsOf("<a b=\"1>2\"/>"), (std::vector<std::string>{"<a/>"}));
}

TEST(XmlTagReader, EndsAtWhatItCannotFollow)
{
    std::string problem;
    EXPECT_EQ(tagsOf("<a><!-- open", &problem), (std::vector<std::string>{"<a>"}));
    EXPECT_EQ(problem, "an unterminated comment, CDATA section or instruction");
    tagsOf("<!DOCTYPE c [<!ENTITY n \"9\">]><a/>", &problem);
    EXPECT_EQ(problem, "a document type with declarations");
    for (const char* malformed : {"<a b=1>", "<a b>", "< a>", "</a b=\"1\">", "<a b=\"1>"}) {
        tagsOf(malformed, &problem);
        EXPECT_EQ(problem, "a malformed tag") << malformed;
    }
    tagsOf("<a ", &problem);
    EXPECT_EQ(problem, "an unterminated tag");
}
