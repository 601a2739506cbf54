// A frame allocates nothing once the scene is built: the global operator new counts, a scene of
// groups, children and the three fixed instances is built, the events run, then frames are counted.
#include <gtest/gtest.h>
#include "demo/Demo.h"
#include "demo/DemoTestSupport.h"
#include "effects/EffectRegistry.h"
#include "support/GlFixture.h"
#include "support/TempDir.h"
#include "resources/Messages.h"

#include "support/CountingNew.h"

using FrameAllocationGl = GlTest;

TEST_F(FrameAllocationGl, FramesOfEveryEffectTypeAllocateNothingOnceTheSceneIsBuilt)
{
    if (!ZEMBLAR_COUNT_ALLOCATIONS) GTEST_SKIP() << "allocations are not counted under AddressSanitizer";
    const unsigned long atStart = g_allocations.load();
    ScopedWorkDir dir;
    dir.write("data/vessikscript.txt", "-1 x startup\n0.01 x early\n0.02 x later\n");
    ManualClock clock;
    startMessageCapture();
    Demo demo(clock);
    // Groups two deep, each holding five moving and turning effects of one type.
    Demoeffect* root = createEffect("demoeffect");
    for (const char* type : {"demoeffect", "camera", "model", "sphere", "text", "image", "particles"}) {
        Demoeffect* group = createEffect("demoeffect");
        root->addChild(group);
        for (int i = 0; i < 5; ++i) {
            group->addChild(createEffect(type));
            Motion& m = group->children.back()->motion;
            m.deltaPoint[0] = m.deltaDirection[0] = 0.5f;
        }
    }
    demo.scene.push_back(root);
    EffectRegistry::findOrAdd("fps") = createEffect("text");
    EffectRegistry::findOrAdd("cam") = root->children[1]->children[0];
    EffectRegistry::findOrAdd("skydome") = root->children[3]->children[0];
    unsigned long before = 0;
    for (uint32_t i = 0; i < 203; ++i) { // every event is due by frame 3; the first frames may build caches
        if (i == 3) before = g_allocations.load();
        clock.ms = demo.startMs + 100 + 16 * i;
        demo.renderFrame();
    }
    const unsigned long allocations = g_allocations.load() - before;
    endMessageCapture();
    EXPECT_EQ(allocations, 0u);
    ASSERT_TRUE(demo.events.back().done);
    EXPECT_GT(before, atStart);                                       // the counter sees the building of the scene
    EXPECT_GT(root->children[0]->children[0]->motion.point[0], 0.0f); // nested effects were drawn (and moved)
}
