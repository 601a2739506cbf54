// The authoring mode (zemblar --edit): a window on the demo that starts at a chosen music time and
// seeks, pauses, marks times and reloads what changed. Returns the process exit status.
#pragma once

int runEditor(double startSeconds);
