// Camera: view, roll, fixed light and material, then the children in that view.
#include "effects/Camera.h"
#include <cmath>
#include <new>
#include "resources/GlMatrix.h"
#include "resources/Numbers.h"

namespace {
// How far a pitch on a pole is moved: large enough that the look vector is not parallel to the
// up vector in 32-bit arithmetic, small enough not to be seen.
constexpr float kPolePitch = 1e-4f;

const GLfloat kGlobalAmbient[] = {0.7f, 0.7f, 0.7f, 1.0f};
const GLfloat kLightAmbient[] = {0.7f, 0.7f, 0.7f, 1.0f};
const GLfloat kLightSpecular[] = {1.0f, 1.0f, 1.0f, 1.0f};
const GLfloat kLightDiffuse[] = {1.0f, 1.0f, 1.0f, 1.0f};
const GLfloat kLightPosition[] = {1.0f, 1.0f, 1.0f, 0.0f}; // w = 0: a direction, fixed in the world
const GLfloat kMaterialAmbient[] = {0.6f, 0.6f, 0.6f, 1.0f};
const GLfloat kMaterialDiffuse[] = {0.9f, 0.5f, 0.5f, 1.0f};
const GLfloat kMaterialSpecular[] = {0.6f, 0.6f, 0.6f, 1.0f};
const GLfloat kMaterialShininess = 60.0f;

float offPole(float pitch)
{
    const float pole = std::round(pitch);
    if (std::fabs(pitch - pole) >= kPolePitch) return pitch;
    return pole > 0.0f ? pole - kPolePitch : pole + kPolePitch;
}

void setLighting()
{
    glEnable(GL_NORMALIZE);
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, kGlobalAmbient);
    glLightfv(GL_LIGHT0, GL_AMBIENT, kLightAmbient);
    glLightfv(GL_LIGHT0, GL_SPECULAR, kLightSpecular);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, kLightDiffuse);
    glLightfv(GL_LIGHT0, GL_POSITION, kLightPosition);
    glEnable(GL_COLOR_MATERIAL);
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, kMaterialAmbient);
    glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, kMaterialDiffuse);
    glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, kMaterialSpecular);
    glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, kMaterialShininess);
}
} // namespace

void cameraViewDirection(float yaw, float pitch, float out[3])
{
    const double a = static_cast<double>(yaw * 2.0f) * kPi;
    const double b = static_cast<double>(offPole(pitch)) * kPi;
    out[0] = static_cast<float>(std::sin(a) * std::sin(b));
    out[1] = static_cast<float>(std::cos(b));
    out[2] = static_cast<float>(std::cos(a) * std::sin(b));
}

Camera::Camera()
{
    motion.point[0] = 0.0f;
    motion.point[1] = 0.0f;
    motion.point[2] = 1.0f;
    motion.direction[0] = 0.5f;
    motion.direction[1] = 0.5f;
    motion.direction[2] = 0.0f;
}

Demoeffect* Camera::clone()
{
    return new (std::nothrow) Camera(*this);
}

void Camera::update()
{
    updateMotion(motion);
    updateChildren();
}

void Camera::draw()
{
    const float* eye = motion.point;
    float d[3];
    cameraViewDirection(motion.direction[0], motion.direction[1], d);
    // The roll goes first so that it turns the finished view about the line of sight.
    glRotatef(motion.direction[2] * 360.0f, 0.0f, 0.0f, 1.0f);
    const double from[3] = {eye[0], eye[1], eye[2]};
    const double to[3] = {eye[0] + d[0], eye[1] + d[1], eye[2] + d[2]};
    const double up[3] = {0.0, 1.0, 0.0};
    lookAt(from, to, up);
    // Given after the view, the light position stays fixed in world space.
    setLighting();
    drawChildren();
}
