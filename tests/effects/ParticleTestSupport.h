#pragma once

// Set-up shared by the particle tests: the program the effects are drawn
// with, a white sprite, and a look at the pixels a draw left.

#include "assets/AssetTestSupport.h"
#include "gl/GLObject.h"
#include "gl/Shader.h"
#include "settings/Settings.h"

#include <epoxy/gl.h>

#include <algorithm>
#include <array>
#include <memory>
#include <vector>

namespace particletest {

// The effects' own program from the source tree, output bound as the application binds it.
inline std::unique_ptr<Shader> particleProgram()
{
    auto program = std::make_unique<Shader>(assettest::shaderDirectory() + "particleShader");
    bindFragmentOutput(*program, "out_color");
    return program;
}

// A 1x1 opaque white sprite, so a drawn particle shows in its own colour.
inline GLTexture whiteSprite()
{
    GLTexture sprite = GLTexture::create();
    const std::array<unsigned char, 4> white{255, 255, 255, 255};
    glBindTexture(GL_TEXTURE_2D, sprite.id());
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, white.data());
    // No mipmaps: the default minifying filter would leave the texture incomplete.
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glBindTexture(GL_TEXTURE_2D, 0);
    return sprite;
}

// Pixels of the bound 64x64 target that are no longer the clear colour (0, 0, 0, 0).
inline long paintedPixels()
{
    glDisable(GL_FRAMEBUFFER_SRGB);
    std::vector<unsigned char> bytes(64 * 64 * 4, 0);
    glReadPixels(0, 0, 64, 64, GL_RGBA, GL_UNSIGNED_BYTE, bytes.data());
    glEnable(GL_FRAMEBUFFER_SRGB);
    long painted = 0;
    for (std::size_t pixel = 0; pixel < bytes.size(); pixel += 4) {
        painted += std::any_of(bytes.begin() + static_cast<long>(pixel), bytes.begin() + static_cast<long>(pixel) + 4,
                               [](unsigned char byte) { return byte != 0; });
    }
    return painted;
}

// Puts the frame time back after a test that steps the effects.
struct FrameTimeGuard {
    ~FrameTimeGuard() { deltaTime = saved; }
    const double saved = deltaTime;
};

} // namespace particletest
