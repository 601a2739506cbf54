// The GL state every effect may rely on when it starts to draw, in one place. Effects change some of
// it and leave it so (the blend function, the colour, the camera's lighting, the bound program and
// vertex array), and a fresh context holds other values than a running show leaves behind (the
// blend function is (ONE, ZERO) there). Setting all of it when a Demo starts and before every frame
// makes a frame depend only on the script and its time, not on what was drawn before it or whether
// anything was: the first frame after a start, a restart or a seek looks like the same frame of a
// run from the start. Covers the state the effects in this layer touch; an effect that changes
// other state must add it here.
#pragma once

void resetDrawState();
