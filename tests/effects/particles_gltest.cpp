// Particles drawn through a real context: every child inside the system's own transform after a
// formation step.
#include <gtest/gtest.h>
#include <memory>
#include <vector>
#include "effects/EffectRegistry.h"
#include "effects/Particles.h"
#include "RunLocal.h"
#include "support/GlFixture.h"

using ParticlesGl = GlTest;

namespace {
// Records the translation of the matrix it is drawn with.
struct Probe : Demoeffect {
    std::shared_ptr<std::vector<float>> seen = std::make_shared<std::vector<float>>();
    Demoeffect* clone() override { return new Probe(*this); }
    void draw() override
    {
        Demoeffect::draw();
        float m[16];
        readModelView(m);
        seen->insert(seen->end(), {m[12], m[13], m[14]});
    }
};
} // namespace

TEST_F(ParticlesGl, DrawsTheFormationInsideItsTransform)
{
    Probe probe;
    EffectRegistry::findOrAdd("probe") = &probe;
    std::unique_ptr<Demoeffect> ps(createEffect("particles"));
    runLocal(*ps, "x;3 y;2 init;probe");
    ps->motion.point[1] = 10.0f;
    ps->scale = 2.0;
    ps->children[0]->motion.point[0] = 50.0f; // put back by the formation step
    ps->update();
    ps->draw();
    // Six children at x -2, 0, 2 and z -1, 1, scaled by 2 and lifted by 10.
    EXPECT_EQ(*probe.seen, (std::vector<float>{-4, 10, -2, 0, 10, -2, 4, 10, -2, -4, 10, 2, 0, 10, 2, 4, 10, 2}));
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}
