#include "platform/GLLoader.h"

#include <epoxy/gl.h>

namespace platform {

bool loadGLFunctions()
{
    // libepoxy resolves entry points on first use; what can fail is a context
    // that is not desktop GL or older than 3.3, where glGetStringi is absent.
    return epoxy_is_desktop_gl() && epoxy_gl_version() >= 33;
}

} // namespace platform
