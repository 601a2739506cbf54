// The two matrices the fixed-function stack gets besides rotations and translations: the
// perspective projection and the look-at view. They multiply the current matrix by the same
// matrices as GLU's gluPerspective and gluLookAt, so the player needs no GLU library (a minimal
// Linux system has none, and a release should bring nothing it can do without).
#pragma once

// Multiplies the current matrix by a perspective projection: vertical field of view in degrees,
// aspect width / height, near and far planes. Does nothing for a zero aspect, a zero depth range or
// a zero field of view (no finite matrix exists).
void perspective(double fovyDegrees, double aspect, double zNear, double zFar);

// Multiplies the current matrix by a view from `eye` towards `center` with `up` pointing up on the
// screen, then moves the eye to the origin. Nothing turns when `center` equals `eye`.
void lookAt(const double eye[3], const double center[3], const double up[3]);
