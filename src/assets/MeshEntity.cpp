#include "assets/MeshEntity.h"

MeshEntity::~MeshEntity() = default;
