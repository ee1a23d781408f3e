#include "render/PassTimer.h"

PassTimer::PassTimer()
{
    for (FrameSlot& slot : slots) {
        for (GLQuery& stamp : slot.stamps) {
            stamp = GLQuery::create();
        }
    }
}

void PassTimer::begin(Pass pass)
{
    FrameSlot& slot = slots[current];
    glQueryCounter(slot.stamps[2 * pass].id(), GL_TIMESTAMP);
    slot.timed[pass] = true;
    openPass = pass;
}

void PassTimer::end()
{
    if (openPass == PassCount) {
        return;
    }
    glQueryCounter(slots[current].stamps[2 * openPass + 1].id(), GL_TIMESTAMP);
    openPass = PassCount;
}

void PassTimer::endFrame()
{
    FrameSlot& closed = slots[current];
    for (bool timed : closed.timed) {
        closed.pending = closed.pending || timed;
    }
    current = (current + 1) % frameSlots;
    // Writing new timestamps over a frame that has not been read would wait
    // for it or mix two frames; the old frame is given up instead.
    FrameSlot& next = slots[current];
    if (next.pending) {
        ++lost;
    }
    next.pending = false;
    next.timed.fill(false);
}

std::vector<PassTimer::FrameTimes> PassTimer::collect()
{
    return readClosedFrames(false);
}

std::vector<PassTimer::FrameTimes> PassTimer::finish()
{
    return readClosedFrames(true);
}

std::vector<PassTimer::FrameTimes> PassTimer::readClosedFrames(bool wait)
{
    std::vector<FrameTimes> frames;
    // The slot after the current one holds the oldest frame; the GPU finishes
    // frames in order, so the first one not yet available ends the search.
    for (int age = 1; age <= frameSlots; ++age) {
        FrameSlot& slot = slots[(current + age) % frameSlots];
        if (!slot.pending) {
            continue;
        }
        if (!wait && !available(slot)) {
            break;
        }
        frames.push_back(read(slot));
        slot.pending = false;
    }
    return frames;
}

bool PassTimer::available(const FrameSlot& slot) const
{
    for (int pass = 0; pass < PassCount; ++pass) {
        if (!slot.timed[pass]) {
            continue;
        }
        for (int edge = 0; edge < 2; ++edge) {
            GLint ready = GL_FALSE;
            glGetQueryObjectiv(slot.stamps[2 * pass + edge].id(), GL_QUERY_RESULT_AVAILABLE, &ready);
            if (ready == GL_FALSE) {
                return false;
            }
        }
    }
    return true;
}

PassTimer::FrameTimes PassTimer::read(const FrameSlot& slot) const
{
    FrameTimes times;
    times.timed = slot.timed;
    for (int pass = 0; pass < PassCount; ++pass) {
        if (!slot.timed[pass]) {
            continue;
        }
        GLuint64 start = 0;
        GLuint64 stop = 0;
        glGetQueryObjectui64v(slot.stamps[2 * pass].id(), GL_QUERY_RESULT, &start);
        glGetQueryObjectui64v(slot.stamps[2 * pass + 1].id(), GL_QUERY_RESULT, &stop);
        times.milliseconds[pass] = stop > start ? (stop - start) / 1.0e6 : 0.0;
    }
    return times;
}

std::string_view PassTimer::name(Pass pass)
{
    constexpr std::string_view names[] = {"shadow maps", "shadow blur", "environment cube",
                                          "lit scene", "motion blur", "overlay"};
    return names[pass];
}
