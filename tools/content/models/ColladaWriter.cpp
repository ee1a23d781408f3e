#include "models/ColladaWriter.h"

#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace {
// Numbers once each, in order of first use, with the index of every use.
struct Pool {
    std::vector<std::string> values;
    std::map<std::string, std::size_t> index;
    std::vector<std::size_t> uses;

    void add(const std::string& value)
    {
        auto [it, inserted] = index.emplace(value, values.size());
        if (inserted) {
            values.push_back(value);
        }
        uses.push_back(it->second);
    }
};

std::string format3(const glm::vec3& v)
{
    char text[96];
    std::snprintf(text, sizeof text, "%.5f %.5f %.5f", v.x, v.y, v.z);
    return text;
}

std::string format2(const glm::vec2& v)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.5f %.5f", v.x, v.y);
    return text;
}

void writeColour(FILE* f, const char* tag, const glm::vec3& c)
{
    std::fprintf(f, "          <%s><color>%.4f %.4f %.4f 1</color></%s>\n", tag, c.r, c.g, c.b, tag);
}

void writeSource(FILE* f, const std::string& id, const Pool& pool, const char* params)
{
    std::size_t stride = std::string(params).size();
    std::fprintf(f, "        <source id=\"%s\">\n          <float_array id=\"%s-array\" count=\"%zu\">", id.c_str(),
                 id.c_str(), pool.values.size() * stride);
    for (const std::string& v : pool.values) {
        std::fprintf(f, "\n%s", v.c_str());
    }
    std::fprintf(f, "</float_array>\n          <technique_common>\n            <accessor source=\"#%s-array\" "
                    "count=\"%zu\" stride=\"%zu\">\n",
                 id.c_str(), pool.values.size(), stride);
    for (const char* p = params; *p; ++p) {
        std::fprintf(f, "              <param name=\"%c\" type=\"float\"/>\n", *p);
    }
    std::fprintf(f, "            </accessor>\n          </technique_common>\n        </source>\n");
}

void writeGeometry(FILE* f, const MeshBuilder::Group& group)
{
    const std::string& name = group.material.name;
    Pool positions, normals, uvs;
    for (const MeshBuilder::Vertex& v : group.vertices) {
        positions.add(format3(v.position));
        normals.add(format3(v.normal));
        uvs.add(format2(v.uv));
    }
    std::fprintf(f, "    <geometry id=\"%s-mesh\" name=\"%s\">\n      <mesh>\n", name.c_str(), name.c_str());
    writeSource(f, name + "-positions", positions, "XYZ");
    writeSource(f, name + "-normals", normals, "XYZ");
    writeSource(f, name + "-texcoords", uvs, "ST");
    std::fprintf(f, "        <vertices id=\"%s-vertices\">\n          <input semantic=\"POSITION\" "
                    "source=\"#%s-positions\"/>\n        </vertices>\n",
                 name.c_str(), name.c_str());
    std::fprintf(f, "        <triangles material=\"%s-material\" count=\"%zu\">\n", name.c_str(),
                 group.vertices.size() / 3);
    std::fprintf(f, "          <input semantic=\"VERTEX\" source=\"#%s-vertices\" offset=\"0\"/>\n", name.c_str());
    std::fprintf(f, "          <input semantic=\"NORMAL\" source=\"#%s-normals\" offset=\"1\"/>\n", name.c_str());
    std::fprintf(f, "          <input semantic=\"TEXCOORD\" source=\"#%s-texcoords\" offset=\"2\" set=\"0\"/>\n",
                 name.c_str());
    std::fprintf(f, "          <p>");
    for (std::size_t i = 0; i < group.vertices.size(); ++i) {
        std::fprintf(f, "%s%zu %zu %zu", i % 3 == 0 ? "\n" : " ", positions.uses[i], normals.uses[i], uvs.uses[i]);
    }
    std::fprintf(f, "</p>\n        </triangles>\n      </mesh>\n    </geometry>\n");
}
} // namespace

bool writeCollada(const MeshBuilder& mesh, const std::filesystem::path& path)
{
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) {
        std::fprintf(stderr, "Cannot write '%s'\n", path.c_str());
        return false;
    }
    const auto& groups = mesh.materialGroups();
    std::fprintf(f, "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
                    "<COLLADA xmlns=\"http://www.collada.org/2005/11/COLLADASchema\" version=\"1.4.1\">\n"
                    "  <asset>\n    <contributor><authoring_tool>Brimbolt content generator</authoring_tool>"
                    "</contributor>\n    <unit name=\"meter\" meter=\"1\"/>\n    <up_axis>Y_UP</up_axis>\n  </asset>\n");
    std::fprintf(f, "  <library_effects>\n");
    for (const auto& g : groups) {
        const Material& m = g.material;
        std::fprintf(f, "    <effect id=\"%s-effect\">\n      <profile_COMMON>\n        <technique sid=\"common\">\n"
                        "         <phong>\n",
                     m.name.c_str());
        writeColour(f, "ambient", m.ambient);
        writeColour(f, "diffuse", m.diffuse);
        writeColour(f, "specular", m.specular);
        std::fprintf(f, "          <shininess><float>%.1f</float></shininess>\n         </phong>\n"
                        "        </technique>\n      </profile_COMMON>\n    </effect>\n",
                     m.shininess);
    }
    std::fprintf(f, "  </library_effects>\n  <library_materials>\n");
    for (const auto& g : groups) {
        const char* name = g.material.name.c_str();
        std::fprintf(f, "    <material id=\"%s-material\" name=\"%s\"><instance_effect url=\"#%s-effect\"/></material>\n",
                     name, name, name);
    }
    std::fprintf(f, "  </library_materials>\n  <library_geometries>\n");
    for (const auto& g : groups) {
        writeGeometry(f, g);
    }
    std::fprintf(f, "  </library_geometries>\n  <library_visual_scenes>\n    <visual_scene id=\"Scene\" name=\"Scene\">\n");
    for (const auto& g : groups) {
        const char* name = g.material.name.c_str();
        std::fprintf(f, "      <node id=\"%s\" name=\"%s\" type=\"NODE\">\n        <instance_geometry url=\"#%s-mesh\">\n"
                        "          <bind_material><technique_common><instance_material symbol=\"%s-material\" "
                        "target=\"#%s-material\"/></technique_common></bind_material>\n"
                        "        </instance_geometry>\n      </node>\n",
                     name, name, name, name, name);
    }
    std::fprintf(f, "    </visual_scene>\n  </library_visual_scenes>\n"
                    "  <scene><instance_visual_scene url=\"#Scene\"/></scene>\n</COLLADA>\n");
    bool ok = std::ferror(f) == 0;
    ok = std::fclose(f) == 0 && ok;
    if (!ok) {
        std::fprintf(stderr, "Cannot write '%s'\n", path.c_str());
    }
    return ok;
}
