// brimbolt_contactsheet [--data DIR] OUTPUT.png
//
// Draws every model the program loads from three sides (front, side, and
// three-quarter from above) into one picture: two models to a row, each in
// three square cells with its file name. The models go through the program's
// own import (Mesh), geometry (Geometry) and lit program ("phong"), lit by
// three plain lights without shadows. Back faces are culled as in the game,
// so a wrongly wound surface shows as a hole, and the room can be seen into
// from outside through its own walls.
//
// Like the program it reads "../brimbolt/", so run it from bin/ (or name the
// data folder with --data); without a display, under xvfb-run -a.

#include "Captions.h"
#include "SheetTarget.h"
#include "StudioView.h"

#include "CommandLine.h"
#include "HiddenWindow.h"
#include "assets/Mesh.h"
#include "assets/TextureManager.h"
#include "platform/Window.h"
#include "render/Geometry.h"
#include "gl/Shader.h"
#include "scene/Camera.h"
#include "settings/Settings.h"

#include <FreeImage.h>

#include <array>
#include <cstdio>
#include <optional>
#include <string>

namespace {

constexpr int modelsPerRow = 2;
constexpr int cellSize = 240;

// A model as the content loading prepares it: tangents for the relief
// pieces, textured or coloured only, and its material (1 diffuse,
// 2 specular, 3 ambient as grey levels; shininess).
struct SheetModel {
    const char* file;
    bool withTangents;
    bool textured;
    float diffuse;
    float specular;
    float ambient;
    float shininess;
};

constexpr std::array<SheetModel, 14> sheetModels{{
    {"room3_recolored.obj", false, true, 0.6f, 0.3f, 0.1f, 150.0f},
    {"room3_reduced.obj", false, true, 0.6f, 0.3f, 0.1f, 150.0f},
    {"car3.obj", false, false, 0.6f, 0.2f, 0.1f, 180.0f},
    {"car4.obj", false, false, 0.6f, 0.2f, 0.1f, 180.0f},
    {"tyre.DAE", false, false, 0.6f, 0.1f, 0.1f, 180.0f},
    {"pigLow.obj", false, true, 0.6f, 0.5f, 0.1f, 2000.0f},
    {"stoneWall2.obj", true, true, 0.6f, 0.3f, 0.1f, 20.0f},
    {"torus.obj", true, true, 0.6f, 0.3f, 0.1f, 20.0f},
    {"plane_reduced.obj", false, true, 0.6f, 0.3f, 0.1f, 150.0f},
    {"armadilloNormalMap.obj", true, true, 0.6f, 0.3f, 0.1f, 10.0f},
    {"podest.obj", false, true, 0.6f, 0.3f, 0.1f, 80.0f},
    {"stoneG.obj", false, false, 0.6f, 0.3f, 0.1f, 150.0f},
    {"stoneY.obj", false, false, 0.6f, 0.3f, 0.1f, 150.0f},
    {"stoneR.obj", false, false, 0.6f, 0.3f, 0.1f, 150.0f},
}};

constexpr std::array<ViewSide, 3> viewSides{ViewSide::Front, ViewSide::Side, ViewSide::ThreeQuarterTop};

// Neighbouring models alternate between two backgrounds, so their cells group.
constexpr std::array<glm::vec3, 2> backgrounds{glm::vec3(0.20f, 0.22f, 0.25f), glm::vec3(0.28f, 0.30f, 0.33f)};

void applyMaterial(Geometry& geometry, const SheetModel& model)
{
    geometry.materialColors[Geometry::diffuseColor] = glm::vec3(model.diffuse);
    geometry.materialColors[Geometry::specularColor] = glm::vec3(model.specular);
    geometry.materialColors[Geometry::ambientColor] = glm::vec3(model.ambient);
    geometry.shininess = model.shininess;
}

// Loads one model and draws its three cells; false when the file did not load.
bool drawModel(const SheetModel& model, int index, const std::string& dataRoot, Shader& phong,
               const SheetTarget& sheet)
{
    Geometry geometry;
    if (!geometry.mesh->loadMesh(dataRoot + "/models/" + model.file, model.withTangents)) {
        return false;
    }
    applyMaterial(geometry, model);
    geometry.prepare(phong, model.textured);
    // All-zero light matrices put every point behind the shadow cameras, where
    // the lit program counts it as unshadowed.
    geometry.setLightMatrices(glm::mat4(0.0f), glm::mat4(0.0f), glm::mat4(0.0f));

    const glm::vec3 lower = geometry.mesh->boundingBox.lower;
    const glm::vec3 upper = geometry.mesh->boundingBox.upper;
    Camera camera;
    glUseProgram(phong.program());
    setStudioLights(phong, lower, upper);
    for (std::size_t side = 0; side < viewSides.size(); ++side) {
        sheet.beginCell(index * static_cast<int>(viewSides.size()) + static_cast<int>(side),
                        backgrounds[static_cast<std::size_t>(index % 2)]);
        frameBox(camera, lower, upper, viewSides[side]);
        geometry.draw(LitPass{phong, camera});
    }
    glUseProgram(0);
    return true;
}

constexpr const char* usage =
    "usage: brimbolt_contactsheet [--data DIR] OUTPUT.png\n"
    "Draws every model the program loads from three sides (front, side, and three-quarter\n"
    "from above) into one picture, two models to a row, each with its file name, through\n"
    "the program's own import, geometry and lit program. Reads ../brimbolt/, so run it from\n"
    "bin/, or the data folder DIR; without a display, run it under xvfb-run -a.\n";

// The status to exit with now (after --help or a mistake), or nothing when
// the sheet is to be drawn.
std::optional<int> readCommandLine(int argc, char** argv, std::string& dataRoot, std::string& output)
{
    CommandLine commandLine("brimbolt_contactsheet", usage);
    commandLine.option("--data", "a folder", dataRoot);
    commandLine.takePositionals(1);
    if (const std::optional<int> status = commandLine.parse(argc, argv)) {
        return status;
    }
    if (commandLine.positionals().empty() || commandLine.positionals()[0].empty()) {
        return commandLine.refuse("missing OUTPUT.png");
    }
    output = commandLine.positionals()[0];
    return std::nullopt;
}

} // namespace

int main(int argc, char** argv)
{
    std::string dataRoot = "../brimbolt";
    std::string output;
    if (const std::optional<int> status = readCommandLine(argc, argv, dataRoot, output)) {
        return *status;
    }

    platform::Window window;
    if (!openHiddenWindow(window, "brimbolt_contactsheet")) {
        return 1;
    }
    drawMode = GL_TRIANGLES;
    frustumCulling = false; // every cell shows the whole model anyway
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);
    TextureManager::getInstance()->setTextureDirectory(dataRoot + "/textures/");

    int failures = 0;
    {
        Shader phong(dataRoot + "/Shaders/phongShader");
        if (phong.program() == 0) {
            std::fprintf(stderr, "brimbolt_contactsheet: cannot build '%s/Shaders/phongShader'\n", dataRoot.c_str());
            return 1;
        }
        bindFragmentOutput(phong, "out_color");

        const int rows = (static_cast<int>(sheetModels.size()) + modelsPerRow - 1) / modelsPerRow;
        const SheetTarget sheet(modelsPerRow * static_cast<int>(viewSides.size()), rows, cellSize);
        if (!sheet.complete()) {
            std::fprintf(stderr, "brimbolt_contactsheet: the off-screen sheet is incomplete\n");
            return 1;
        }
        for (std::size_t i = 0; i < sheetModels.size(); ++i) {
            if (!drawModel(sheetModels[i], static_cast<int>(i), dataRoot, phong, sheet)) {
                std::fprintf(stderr, "brimbolt_contactsheet: cannot load '%s'\n", sheetModels[i].file);
                ++failures;
            }
        }

        // A draw the GL refused would leave its cells quietly empty.
        if (const GLenum error = glGetError(); error != GL_NO_ERROR) {
            std::fprintf(stderr, "brimbolt_contactsheet: OpenGL error 0x%04X while drawing\n", error);
            ++failures;
        }

        FIBITMAP* image = sheet.readImage();
        const Captions captions(15);
        for (std::size_t i = 0; i < sheetModels.size(); ++i) {
            const glm::ivec2 corner = sheet.cellCorner(static_cast<int>(i * viewSides.size()));
            captions.write(image, sheetModels[i].file, corner.x + 6, corner.y + 4);
        }
        const bool saved = FreeImage_Save(FIF_PNG, image, output.c_str(), PNG_Z_BEST_COMPRESSION) != FALSE;
        FreeImage_Unload(image);
        if (!saved) {
            std::fprintf(stderr, "brimbolt_contactsheet: cannot write '%s'\n", output.c_str());
            ++failures;
        } else {
            std::printf("Wrote %s (%d x %d)\n", output.c_str(), sheet.width(), sheet.height());
        }
        TextureManager::getInstance()->releaseGLObjects();
    }
    return failures == 0 ? 0 : 1;
}
