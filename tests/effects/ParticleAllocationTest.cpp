#include "effects/Explosion.h"
#include "effects/Smoke.h"

#include "effects/ParticleTestSupport.h"
#include "support/GLTestContext.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

// Every test of this folder links into one program, so the replaced operator
// new counts only while a test asks it to and is a plain malloc otherwise.
namespace {
std::atomic<bool> countingAllocations{false};
std::atomic<long> allocationCount{0};
} // namespace

void* operator new(std::size_t size)
{
    if (countingAllocations.load(std::memory_order_relaxed)) {
        allocationCount.fetch_add(1, std::memory_order_relaxed);
    }
    if (void* block = std::malloc(size == 0 ? 1 : size)) {
        return block;
    }
    throw std::bad_alloc();
}

// Not inlined: GCC would otherwise see free() applied to what operator new
// returned and warn about a mismatch that the replacement pair makes correct.
[[gnu::noinline]] void operator delete(void* block) noexcept
{
    std::free(block);
}

[[gnu::noinline]] void operator delete(void* block, std::size_t) noexcept
{
    std::free(block);
}

using namespace particletest;

TEST(ParticleEffects, ThousandStepsAllocateNothing)
{
    GL_TEST_SETUP(context);
    FrameTimeGuard frameTime;
    auto program = particleProgram();
    Smoke smoke(*program, 0);
    Explosion explosion(*program, 0);
    deltaTime = 0.016;

    allocationCount = 0;
    countingAllocations = true;
    for (int step = 0; step < 1000; ++step) {
        // A new burst every two seconds, so dying, idle and restarted sparks all occur.
        if (step % 125 == 0) {
            explosion.trigger(0.0f, 0.0f, static_cast<float>(-step) / 100.0f);
        }
        smoke.emitterA = glm::vec3(0.0f, 0.0f, static_cast<float>(step) * 0.01f);
        smoke.update();
        explosion.update();
    }
    countingAllocations = false;

    EXPECT_EQ(allocationCount.load(), 0);
    // The counter works: it does see an allocation while switched on.
    allocationCount = 0;
    countingAllocations = true;
    // A plain call, not a new-expression, which the compiler may drop.
    void* volatile block = ::operator new(8);
    ::operator delete(block);
    countingAllocations = false;
    EXPECT_EQ(allocationCount.load(), 1);
}
