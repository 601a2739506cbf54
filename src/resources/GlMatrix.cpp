// Matrices in GL's column-major order, multiplied onto the current matrix with glMultMatrixd.
#include "resources/GlMatrix.h"
#include <cmath>
#include "resources/Gl.h"
#include "resources/Numbers.h"

namespace {
void cross(const double a[3], const double b[3], double out[3])
{
    out[0] = a[1] * b[2] - a[2] * b[1];
    out[1] = a[2] * b[0] - a[0] * b[2];
    out[2] = a[0] * b[1] - a[1] * b[0];
}

void normalize(double v[3])
{
    const double length = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
    if (length == 0.0) return;
    for (int i = 0; i < 3; ++i) v[i] /= length;
}
} // namespace

void perspective(double fovyDegrees, double aspect, double zNear, double zFar)
{
    const double half = fovyDegrees / 2.0 * kPi / 180.0;
    const double depth = zFar - zNear;
    const double sine = std::sin(half);
    if (depth == 0.0 || sine == 0.0 || aspect == 0.0) return;
    const double cotangent = std::cos(half) / sine;
    // One column of the matrix a line.
    // clang-format off
    const double m[16] = {cotangent / aspect, 0, 0, 0,
                          0, cotangent, 0, 0,
                          0, 0, -(zFar + zNear) / depth, -1,
                          0, 0, -2.0 * zNear * zFar / depth, 0};
    // clang-format on
    glMultMatrixd(m);
}

void lookAt(const double eye[3], const double center[3], const double up[3])
{
    double forward[3] = {center[0] - eye[0], center[1] - eye[1], center[2] - eye[2]};
    normalize(forward);
    double side[3], upward[3];
    cross(forward, up, side);
    normalize(side);
    cross(side, forward, upward);
    // One column of the matrix a line.
    // clang-format off
    const double m[16] = {side[0], upward[0], -forward[0], 0,
                          side[1], upward[1], -forward[1], 0,
                          side[2], upward[2], -forward[2], 0,
                          0, 0, 0, 1};
    // clang-format on
    glMultMatrixd(m);
    glTranslated(-eye[0], -eye[1], -eye[2]);
}
