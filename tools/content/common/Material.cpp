#include "common/Material.h"

Material makeMaterial(const char* name, const glm::vec3& diffuse, float specular, float shininess)
{
    Material m;
    m.name = name;
    m.diffuse = diffuse;
    m.specular = glm::vec3(specular);
    m.ambient = diffuse * 0.2f;
    m.shininess = shininess;
    return m;
}
