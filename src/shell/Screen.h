// The demo's output size and its projection, without SDL: what the offline renderer shares with the
// live window.
#pragma once

constexpr int kWindowWidth = 1280;
constexpr int kWindowHeight = 720;

// Viewport and 45-degree perspective projection for a client area of that size (height 0 -> 1).
void resizeScene(int width, int height);
