#include "ContentGenerators.h"

#include "pictures/Pictures.h"

bool generatePictures(const std::filesystem::path& textureDir)
{
    bool ok = writeSprites(textureDir);
    ok = writeStartPicture(textureDir) && ok;
    ok = writeCredits(textureDir) && ok;
    ok = writeNumberAtlas(textureDir) && ok;
    ok = writeGlyphAtlas(textureDir) && ok;
    ok = writeBrickMaps(textureDir) && ok;
    ok = writeTorusRelief(textureDir) && ok;
    return ok;
}
