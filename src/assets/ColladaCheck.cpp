#include "assets/ColladaCheck.h"

#include "assets/XmlTagReader.h"

#include <algorithm>
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <vector>

namespace {

using Tag = XmlTagReader::Tag;

constexpr std::size_t npos = std::string_view::npos;

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// Assimp reads each of these with a loop that only moves on over digits,
// signs and blanks.
bool isIndexList(std::string_view name)
{
    return name == "p" || name == "vcount" || name == "v";
}

bool isIndexCharacter(char c)
{
    return (c >= '0' && c <= '9') || c == '+' || c == '-' || isBlank(c);
}

// The arrays Assimp keeps for accessors to read; int_array and bool_array it
// never keeps, so an accessor of one of those fails cleanly.
bool isDataArray(std::string_view name)
{
    return name == "float_array" || name == "Name_array" || name == "IDREF_array";
}

// Assimp (as Debian builds it, with its assertions on) aborts the program
// when one of these does not end up with as many primitives as its count
// says.
bool isCheckedPrimitiveList(std::string_view name)
{
    return name == "triangles" || name == "polylist" || name == "polygons";
}

// An open <triangles>, <polylist> or <polygons> and the <p> lists inside it.
struct PrimitiveList {
    std::string_view name;
    std::uint64_t count = 0;
    std::uint64_t lists = 0;
    std::size_t at = 0;
};

struct Accessor {
    std::string arrayId; // its source without the '#'; empty for a source Assimp refuses anyway
    std::uint64_t count = 0;
    std::uint64_t offset = 0;
    std::uint64_t stride = 1;
    std::uint64_t valuesPerItem = 0; // one per <param>, sixteen for a float4x4
    std::size_t at = 0;
};

class ColladaScan {
public:
    explicit ColladaScan(std::string_view text) : text(text) {}

    std::string firstProblem()
    {
        // A UTF-16 or UTF-32 file has them in every character the scan looks
        // for, and the XML reader would decode what the scan reads as bytes.
        if (const std::size_t nul = text.find('\0'); nul != npos) {
            fail(nul, "a NUL character, so not a UTF-8 text");
            return problem;
        }
        XmlTagReader reader(text);
        Tag tag;
        while (problem.empty() && reader.next(tag)) {
            checkElement(tag, tag.at);
        }
        if (problem.empty() && !reader.problem().empty()) {
            fail(reader.problemAt(), reader.problem());
        }
        if (problem.empty()) {
            checkAccessors();
        }
        return problem;
    }

private:
    std::string_view text;
    std::string problem;
    // By id. Assimp keeps arrays and accessors by id too, and a second one of
    // an id replaces the first even where a mesh already points at it.
    std::map<std::string, std::uint64_t, std::less<>> arrayCounts;
    std::set<std::string, std::less<>> accessorSources;
    std::string sourceId; // of the last <source>, which owns the accessors that follow
    std::vector<Accessor> accessors;
    bool insideAccessor = false;
    std::vector<PrimitiveList> openPrimitiveLists;

    void fail(std::size_t at, const std::string& what)
    {
        const auto line = 1 + std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(at), '\n');
        problem = "Collada check: " + what + " (line " + std::to_string(line) + ")";
    }

    // A count, offset or stride: digits between blanks, and no more than the
    // file has characters. Absent, it keeps the caller's default.
    bool readNumber(const Tag& tag, std::string_view name, std::uint64_t& number, std::size_t at)
    {
        const std::string* value = tag.attribute(name);
        if (!value) {
            return true;
        }
        const std::size_t first = value->find_first_not_of(' ');
        const std::size_t last = value->find_last_not_of(' ');
        if (first == std::string::npos) {
            fail(at, "an empty " + std::string(name) + " in <" + std::string(tag.name) + ">");
            return false;
        }
        std::uint64_t parsed = 0;
        for (std::size_t i = first; i <= last; ++i) {
            const char c = (*value)[i];
            if (c < '0' || c > '9') {
                fail(at, std::string(name) + " \"" + *value + "\" in <" + std::string(tag.name) +
                             "> is not a plain number");
                return false;
            }
            parsed = parsed * 10 + static_cast<std::uint64_t>(c - '0');
            if (parsed > text.size()) {
                fail(at, std::string(name) + " " + *value + " in <" + std::string(tag.name) +
                             "> is larger than the file");
                return false;
            }
        }
        number = parsed;
        return true;
    }

    // An id or a reference exactly as the XML reader resolves it: without an
    // entity, which this scan would not decode.
    bool readReference(const Tag& tag, std::string_view name, std::string& reference, std::size_t at)
    {
        const std::string* value = tag.attribute(name);
        if (!value) {
            return true;
        }
        if (value->find('&') != std::string::npos) {
            fail(at, "an entity in the " + std::string(name) + " of <" + std::string(tag.name) + ">");
            return false;
        }
        reference = *value;
        return true;
    }

    void checkElement(const Tag& tag, std::size_t at)
    {
        if (tag.isEnd) {
            if (tag.name == "accessor") {
                insideAccessor = false;
            }
            if (!openPrimitiveLists.empty() && openPrimitiveLists.back().name == tag.name) {
                closePrimitiveList();
            }
            return;
        }
        std::uint64_t count = 0;
        if (!readNumber(tag, "count", count, at)) {
            return;
        }
        if (tag.name == "p") {
            // Assimp reads every <p> below the list, however deep.
            for (PrimitiveList& list : openPrimitiveLists) {
                ++list.lists;
            }
        }
        if (isCheckedPrimitiveList(tag.name)) {
            openPrimitiveLists.push_back({tag.name, count, 0, at});
            if (tag.isEmpty) {
                closePrimitiveList();
            }
            return;
        }
        if (isDataArray(tag.name)) {
            std::string id;
            if (readReference(tag, "id", id, at) && !arrayCounts.emplace(id, count).second) {
                fail(at, "a second array with the id '" + id + "'");
            }
        } else if (tag.name == "source") {
            sourceId.clear();
            readReference(tag, "id", sourceId, at);
        } else if (tag.name == "accessor") {
            readAccessor(tag, count, at);
        } else if (tag.name == "param" && insideAccessor) {
            const std::string* type = tag.attribute("type");
            accessors.back().valuesPerItem += type && *type == "float4x4" ? 16 : 1;
        } else if (isIndexList(tag.name) && !tag.isEmpty) {
            checkIndexList(tag, at);
        }
    }

    // Each <p> of a <triangles> or <polylist> counts as all of its count
    // (so only one may hold them), each of a <polygons> as one.
    void closePrimitiveList()
    {
        const PrimitiveList list = openPrimitiveLists.back();
        openPrimitiveLists.pop_back();
        const bool matches = list.name == "polygons" ? list.lists == list.count : list.count == 0 || list.lists == 1;
        if (!matches) {
            fail(list.at, "<" + std::string(list.name) + "> of count " + std::to_string(list.count) + " holds " +
                              std::to_string(list.lists) + " <p> lists");
        }
    }

    void readAccessor(const Tag& tag, std::uint64_t count, std::size_t at)
    {
        Accessor accessor;
        accessor.count = count;
        accessor.at = at;
        std::string source;
        if (!readNumber(tag, "offset", accessor.offset, at) || !readNumber(tag, "stride", accessor.stride, at) ||
            !readReference(tag, "source", source, at)) {
            return;
        }
        if (!accessorSources.insert(sourceId).second) {
            fail(at, "a second accessor for the source id '" + sourceId + "'");
            return;
        }
        if (source.starts_with('#')) {
            accessor.arrayId = source.substr(1);
        }
        accessors.push_back(accessor);
        insideAccessor = !tag.isEmpty;
    }

    // Whole numbers and blanks only, up to the list's own end tag; a
    // <vcount> also may not promise more indices than the file could hold.
    void checkIndexList(const Tag& tag, std::size_t at)
    {
        const std::size_t contentEnd = text.find('<', tag.end);
        const std::string_view content = text.substr(tag.end, contentEnd - tag.end);
        if (!std::all_of(content.begin(), content.end(), isIndexCharacter)) {
            fail(at, "<" + std::string(tag.name) + "> holds something other than whole numbers");
            return;
        }
        const std::string endTag = "</" + std::string(tag.name);
        const std::string_view after = contentEnd == npos ? std::string_view() : text.substr(contentEnd);
        if (!after.starts_with(endTag) || after.size() == endTag.size() ||
            !(isBlank(after[endTag.size()]) || after[endTag.size()] == '>')) {
            fail(at, "<" + std::string(tag.name) + "> holds more than numbers");
            return;
        }
        if (tag.name == "vcount") {
            checkVertexCounts(content, at);
        }
    }

    void checkVertexCounts(std::string_view content, std::size_t at)
    {
        std::uint64_t total = 0;
        std::uint64_t number = 0;
        for (const char c : content) {
            if (c >= '0' && c <= '9') {
                number = number * 10 + static_cast<std::uint64_t>(c - '0');
            } else {
                total += number;
                number = 0;
            }
            if (number > text.size() || total > text.size()) {
                fail(at, "<vcount> adds up to more than the file could hold");
                return;
            }
        }
        if (total + number > text.size()) {
            fail(at, "<vcount> adds up to more than the file could hold");
        }
    }

    void checkAccessors()
    {
        for (const Accessor& accessor : accessors) {
            const auto array = arrayCounts.find(accessor.arrayId);
            if (accessor.count == 0 || array == arrayCounts.end()) {
                continue;
            }
            // offset + (count - 1) * stride + valuesPerItem <= values, without overflow.
            const std::uint64_t values = array->second;
            const std::uint64_t itemSize = std::max<std::uint64_t>(accessor.valuesPerItem, 1);
            bool fits = accessor.offset <= values && itemSize <= values - accessor.offset;
            if (fits && accessor.stride != 0) {
                fits = accessor.count - 1 <= (values - accessor.offset - itemSize) / accessor.stride;
            }
            if (!fits) {
                fail(accessor.at, "an accessor reads past the end of '" + accessor.arrayId + "' (" +
                                      std::to_string(values) + " values)");
                return;
            }
        }
    }
};

} // namespace

std::string ColladaCheck::problemIn(std::string_view text)
{
    return ColladaScan(text).firstProblem();
}

std::string ColladaCheck::problemInFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        return {};
    }
    const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    return problemIn(text);
}

bool ColladaCheck::isColladaPath(const std::string& path)
{
    if (path.size() < 4) {
        return false;
    }
    std::string extension = path.substr(path.size() - 4);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension == ".dae";
}
