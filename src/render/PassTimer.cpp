#include "render/PassTimer.h"

PassTimer::PassTimer()
{
    for (GLQuery& query : queries) {
        query = GLQuery::create();
    }
}

void PassTimer::begin(Pass pass)
{
    glBeginQuery(GL_TIME_ELAPSED, queries[pass].id());
    used[pass] = true;
}

void PassTimer::end()
{
    glEndQuery(GL_TIME_ELAPSED);
}

double PassTimer::milliseconds(Pass pass) const
{
    if (!used[pass]) {
        return 0.0;
    }
    GLuint64 nanoseconds = 0;
    glGetQueryObjectui64v(queries[pass].id(), GL_QUERY_RESULT, &nanoseconds);
    return nanoseconds / 1.0e6;
}

std::string_view PassTimer::name(Pass pass)
{
    constexpr std::string_view names[] = {"shadow maps", "shadow blur", "environment cube",
                                          "lit scene", "motion blur", "overlay"};
    return names[pass];
}
