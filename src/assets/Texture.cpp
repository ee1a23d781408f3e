#include "assets/Texture.h"

#include "assets/TextureManager.h"

#include <utility>

Texture::Texture(std::string name)
    : name(std::move(name))
{
}

Texture::~Texture() = default;

void Texture::bind() const
{
    // Looked up on every bind rather than cached, so a texture deleted and
    // loaded again under the same name is picked up with its new id.
    GLuint id = TextureManager::getInstance()->textureId(name);
    if (id != 0) {
        glBindTexture(target, id);
    }
}
