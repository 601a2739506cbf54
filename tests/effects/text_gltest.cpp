// Text under a real context: the local words, and empty text drawing neither itself nor its
// children. (Glyph quads from their atlas cells and the image quad's blending show in the golden
// frames; the atlas cells themselves are checked by text_atlas_test.)
#include <gtest/gtest.h>
#include <memory>
#include "effects/EffectRegistry.h"
#include "effects/Text.h"
#include "RunLocal.h"
#include "support/CaptureMessages.h"
#include "support/GlFixture.h"
#include "support/TempDir.h"

using TextGl = GlTest;

namespace {
struct Probe : Demoeffect {
    int draws = 0;
    void draw() override { ++draws; }
};
} // namespace

TEST_F(TextGl, EmptyTextHidesItsChildrenAndTheLocalWordsBuildTheText)
{
    ScopedWorkDir dir;
    std::unique_ptr<Text> text(static_cast<Text*>(createEffect("text"))); // no font: reported end to end
    Probe child;
    text->addChild(&child);
    text->draw();
    EXPECT_EQ(child.draws, 0);
    runLocal(*text, "append;Hi append;!;ignored"); // onto the empty text
    EXPECT_EQ(text->text, "Hi!");
    EXPECT_EQ(capturedMessages([&] { runLocal(*text, "blink;fast"); }), "failed local: blink fast");
    text->draw();
    EXPECT_EQ(child.draws, 1);
    runLocal(*text, "text;");
    text->draw();
    EXPECT_EQ(child.draws, 1);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}
