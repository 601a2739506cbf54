// Proves that a frame allocates nothing once the scene is built: this test binary replaces the
// global operator new with a counting one, builds a scene with groups, children and the three
// fixed instances, lets the script's events run, and then counts allocations over many frames.
#include <gtest/gtest.h>
#include <atomic>
#include <cstdlib>
#include <new>
#include "demo/Demo.h"
#include "demo/DemoTestSupport.h"
#include "effects/EffectRegistry.h"
#include "support/GlFixture.h"
#include "support/TempDir.h"

// AddressSanitizer brings its own allocation operators; the count is taken in normal builds only.
#if defined(__SANITIZE_ADDRESS__)
#define ZEMBLAR_COUNT_ALLOCATIONS 0
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ZEMBLAR_COUNT_ALLOCATIONS 0
#endif
#endif
#ifndef ZEMBLAR_COUNT_ALLOCATIONS
#define ZEMBLAR_COUNT_ALLOCATIONS 1
#endif

namespace {
std::atomic<unsigned long> g_allocations{0};
}

#if ZEMBLAR_COUNT_ALLOCATIONS
// The replacement pair is malloc/free underneath; GCC cannot see that new and delete match. The
// array forms of the standard library forward to these two.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif
void* operator new(std::size_t size)
{
    ++g_allocations;
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
#endif

using FrameAllocationGl = GlTest;

TEST_F(FrameAllocationGl, FramesAllocateNothingOnceTheSceneIsBuilt)
{
    if (!ZEMBLAR_COUNT_ALLOCATIONS) GTEST_SKIP() << "allocations are not counted under AddressSanitizer";
    const unsigned long atStart = g_allocations.load();
    ScopedWorkDir dir;
    dir.write("data/vessikscript.txt", "-1 x startup\n0.01 x early\n0.02 x later\n");
    ManualClock clock;
    RecordingEffect fps, cam, sky;
    EffectRegistry::findOrAdd("fps") = &fps;
    EffectRegistry::findOrAdd("cam") = &cam;
    EffectRegistry::findOrAdd("skydome") = &sky;
    testing::internal::CaptureStdout();
    Demo demo(clock);
    std::vector<Demoeffect> groups(200);
    for (size_t i = 0; i < groups.size(); ++i) {
        groups[i].motion.deltaPoint[0] = 0.5f;
        if (i % 2) groups[i - 1].addChild(&groups[i]);
        else demo.scene.push_back(&groups[i]);
    }
    demo.scene.push_back(&cam);
    demo.scene.push_back(&sky);
    clock.ms = demo.startMs + 100; // every event is due in the first frame
    demo.renderFrame();
    testing::internal::GetCapturedStdout();
    ASSERT_TRUE(demo.events.back().done);

    const unsigned long before = g_allocations.load();
    EXPECT_GT(before, atStart); // the counter sees the building of the scene
    for (uint32_t i = 0; i < 500; ++i) {
        clock.ms = demo.startMs + 200 + i;
        demo.renderFrame();
    }
    EXPECT_EQ(g_allocations.load() - before, 0u);
    EXPECT_EQ(fps.locals, 501);
    EXPECT_EQ(groups[1].motion.point[0] > 0.0f, true); // children were drawn (and moved)
}

TEST_F(FrameAllocationGl, FramesOfEveryEffectTypeAllocateNothing)
{
    if (!ZEMBLAR_COUNT_ALLOCATIONS) GTEST_SKIP() << "allocations are not counted under AddressSanitizer";
    ScopedWorkDir dir;
    ManualClock clock;
    testing::internal::CaptureStdout();
    Demo demo(clock);
    const char* const types[] = {"demoeffect", "camera", "model", "sphere", "text", "image", "particles"};
    Demoeffect* root = createEffect("demoeffect");
    for (const char* type : types) {
        for (int i = 0; i < 5; ++i) {
            Demoeffect* effect = createEffect(type);
            ASSERT_NE(effect, nullptr) << type;
            effect->motion.deltaDirection[0] = 0.1f;
            root->addChild(effect);
        }
    }
    demo.scene.push_back(root);
    EffectRegistry::findOrAdd("fps") = createEffect("text");
    EffectRegistry::findOrAdd("cam") = root->children[5];
    EffectRegistry::findOrAdd("skydome") = root->children[15];
    clock.state = 0;
    for (uint32_t i = 0; i < 3; ++i) { // first frames may build caches
        clock.ms = demo.startMs + 10 * i;
        demo.renderFrame();
    }
    const unsigned long before = g_allocations.load();
    for (uint32_t i = 0; i < 200; ++i) {
        clock.ms = demo.startMs + 100 + 16 * i;
        demo.renderFrame();
    }
    const unsigned long allocations = g_allocations.load() - before;
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(allocations, 0u);
}
