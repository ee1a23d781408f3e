#include "assets/TextureManager.h"

#include <gtest/gtest.h>

// The F4 and F5 keys' modes: every pair gives its own GL filters (the
// texture manager's own tests switch the modes on real textures).
TEST(TextureModes, EveryModePairGivesItsOwnFilters)
{
    using TM = TextureManager;
    EXPECT_EQ(TM::minificationFilter(TM::mipmapOff, TM::samplingNearest), GLenum(GL_NEAREST));
    EXPECT_EQ(TM::minificationFilter(TM::mipmapOff, TM::samplingLinear), GLenum(GL_LINEAR));
    EXPECT_EQ(TM::minificationFilter(TM::mipmapNearest, TM::samplingNearest), GLenum(GL_NEAREST_MIPMAP_NEAREST));
    EXPECT_EQ(TM::minificationFilter(TM::mipmapNearest, TM::samplingLinear), GLenum(GL_LINEAR_MIPMAP_NEAREST));
    EXPECT_EQ(TM::minificationFilter(TM::mipmapLinear, TM::samplingNearest), GLenum(GL_NEAREST_MIPMAP_LINEAR));
    EXPECT_EQ(TM::minificationFilter(TM::mipmapLinear, TM::samplingLinear), GLenum(GL_LINEAR_MIPMAP_LINEAR));
    EXPECT_EQ(TM::magnificationFilter(TM::samplingNearest), GLenum(GL_NEAREST));
    EXPECT_EQ(TM::magnificationFilter(TM::samplingLinear), GLenum(GL_LINEAR));
}
