#include "app/DeveloperKeys.h"

#include <epoxy/gl.h>

#include "app/KeyTest.h"
#include "assets/TextureManager.h"
#include "platform/Window.h"
#include "settings/Settings.h"
#include "sound/Music.h"

#include <cstdio>

namespace {
constexpr int developerKeys[] = {GLFW_KEY_F2, GLFW_KEY_F3, GLFW_KEY_F4, GLFW_KEY_F5,
                                 GLFW_KEY_F7, GLFW_KEY_F8, GLFW_KEY_F9};

const char* onOff(bool on)
{
    return on ? "on" : "off";
}

void cycleSampling()
{
    TextureManager* textures = TextureManager::getInstance();
    if (textures->getSamplingMode() == TextureManager::samplingLinear) {
        textures->setSampling(TextureManager::samplingNearest);
        std::printf("Texture Sampling: nearest\n");
    } else if (textures->getSamplingMode() == TextureManager::samplingNearest) {
        textures->setSampling(TextureManager::samplingLinear);
        std::printf("Texture Sampling: linear\n");
    }
}

void cycleMipmapping()
{
    TextureManager* textures = TextureManager::getInstance();
    switch (textures->getMipmapMode()) {
    case TextureManager::mipmapOff:
        textures->setMipmapping(TextureManager::mipmapNearest);
        std::printf("Mipmapping: nearest\n");
        break;
    case TextureManager::mipmapNearest:
        textures->setMipmapping(TextureManager::mipmapLinear);
        std::printf("Mipmapping: linear\n");
        break;
    default:
        textures->setMipmapping(TextureManager::mipmapOff);
        std::printf("Mipmapping: off\n");
        break;
    }
}
} // namespace

void DeveloperKeys::poll(const platform::Window& window, KeyTest& keys)
{
    for (int key : developerKeys) {
        if (keys.fired(key, window.getKey(key) == GLFW_PRESS)) {
            act(key);
        }
    }
}

void DeveloperKeys::act(int key)
{
    switch (key) {
    case GLFW_KEY_F2:
        showStatusOverlay = !showStatusOverlay;
        break;
    case GLFW_KEY_F3:
        drawMode = drawMode == GL_TRIANGLES ? GL_LINE_STRIP : GL_TRIANGLES;
        std::printf("Wire Frame: %s\n", onOff(drawMode == GL_LINE_STRIP));
        break;
    case GLFW_KEY_F4:
        cycleSampling();
        break;
    case GLFW_KEY_F5:
        cycleMipmapping();
        break;
    case GLFW_KEY_F7:
        music.setMute(!music.isMuted());
        soundMuted = music.isMuted();
        std::printf("Sound: %s\n", onOff(!soundMuted));
        break;
    case GLFW_KEY_F8:
        frustumCulling = !frustumCulling;
        std::printf("Frustum Culling: %s\n", onOff(frustumCulling));
        break;
    case GLFW_KEY_F9:
        transparency = !transparency;
        std::printf("Transparency: %s\n", onOff(transparency));
        break;
    default:
        break;
    }
}
