#pragma once

#include <string>
#include <string_view>

// Looks through the text of a Collada file for what Assimp's Collada reader
// (5.2) does not survive, so that Mesh refuses such a file with a console
// line instead of handing it over:
// - an index list (<p>, <vcount>, <v>, <h>) holding anything but whole
//   numbers and blanks: the reader stops advancing at the first other
//   character and fills memory without end;
// - a count attribute that is not a plain number no larger than the file
//   (a count cannot exceed the characters that spell its items), and a
//   <vcount> whose numbers add up to more than that: the reader sizes its
//   arrays by them before it reads a single value;
// - an accessor that reaches past the end of the array it reads (a
//   <float_array>, <Name_array> or <IDREF_array> without a count holds no
//   values at all): the reader reads outside the array;
// - two arrays of one id, or two accessors of one <source> id: the second
//   replaces the first under a mesh that already reads it, which then reads
//   through an empty pointer;
// - a <triangles> or <polylist> with a count but not exactly one <p>, or a
//   <polygons> whose count is not its number of <p>: Assimp as Debian builds
//   it checks that with an assertion, which aborts the program.
// Only what Assimp reads the same way is accepted; a few valid but unusual
// spellings (an entity in a count or an id, a comment inside an index list,
// a document type with declarations) are refused too.
class ColladaCheck {
public:
    // Empty when the text has none of the above, else the first one found,
    // with its line, for the console.
    static std::string problemIn(std::string_view text);
    // The same for the file at path; empty when the file cannot be read
    // (Assimp then says so itself).
    static std::string problemInFile(const std::string& path);
    // True for a name Assimp gives to its Collada reader: ".dae" in any case.
    static bool isColladaPath(const std::string& path);
};
