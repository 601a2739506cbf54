// Formation step: life flag, town grid, tube rings, and their animation modes.
#include "effects/ParticleFormation.h"
#include <cmath>
#include "effects/Random.h"
#include "resources/Numbers.h"

namespace {

float clamp01(float x)
{
    if (x < 0.0f) return 0.0f;
    if (x > 1.0f) return 1.0f;
    return x; // NaN stays NaN; callers keep their inputs finite
}

void setPoint(float out[3], float x, float y, float z)
{
    out[0] = x;
    out[1] = y;
    out[2] = z;
}

// A child switches to "alive" (1) when it has shrunk away and back to 0 once it is full size.
void updateLifeFlag(const FormationSettings& s, Demoeffect& child)
{
    if (child.state == 0 && child.scale < 0.01f) {
        child.state = 1;
        if (s.state & kStateTextureOnRespawn) child.texture = s.texture;
    }
    if (child.state == 1 && child.scale > 0.99f) child.state = 0;
}

void stepTown(const FormationSettings& s, Demoeffect& child, int64_t i, int64_t j, double time, double delta)
{
    const float gx = static_cast<float>(i) * s.padx - static_cast<float>(int64_t{s.countx} - 1) * s.padx * 0.5f;
    const float gz = static_cast<float>(j) * s.pady - static_cast<float>(int64_t{s.county} - 1) * s.pady * 0.5f;
    // Counts are 32-bit; the differences are taken in 64-bit so extreme counts cannot overflow.
    const double dj = static_cast<double>(j - s.county / 2);
    const double di = static_cast<double>(i - s.countx / 2);
    const double d = std::sqrt(dj * dj + di * di);
    float gy = 0.0f;
    if (s.anim == AnimSine) gy = static_cast<float>(3.0 * std::sin(0.5 * d + 3.0 * time));
    if (s.anim == AnimDinky) child.scale = 0.5 * std::sin(0.5 * d + 3.0 * time) + 0.5;
    Motion& m = child.motion;
    if (!(s.anim & AnimBurn)) {
        setPoint(m.point, gx, gy, gz);
        return;
    }
    if (child.scale < 0.01f) {
        setPoint(m.point, gx, gy, gz);
        const int r1 = randomPercent();
        const int r2 = randomPercent();
        const int r3 = randomPercent();
        setPoint(m.deltaPoint, static_cast<float>(r1 / 50.0 - 1.0), static_cast<float>(r2 / 100.0),
                 static_cast<float>(r3 / 50.0 - 1.0));
        child.scale = 1.0;
    }
    child.scale -= (randomPercent() / 100.0) * delta;
}

// Radius of a tube row under sinepulse: each row swells by 5 and back once, rows starting one after
// the other. A single row counts as the first row.
float pulseRadius(const FormationSettings& s, float radius, int64_t j, double time)
{
    const float a = s.county > 1 ? clamp01(static_cast<float>(j) / static_cast<float>(s.county - 1)) : 0.0f;
    const float lag = static_cast<float>(s.county) / 10.0f * a;
    const float p = clamp01(static_cast<float>(2.0 * (time - s.startTime) - lag) / 1.5f);
    return static_cast<float>((radius + 2.5) - 2.5 * std::cos(2.0 * kPi * p));
}

void stepTube(const FormationSettings& s, Demoeffect& child, int64_t i, int64_t j, double time, double delta)
{
    float radius = s.padx;
    float height = s.pady;
    const float rowPhase = 0.4f * static_cast<float>(j);
    if (s.anim == AnimSine || s.anim == AnimWonk)
        radius = static_cast<float>(2.5 * std::sin(rowPhase + 3.0 * time) + radius + 2.5);
    if (s.anim == AnimDinky) child.scale = 0.5 * std::sin(rowPhase + 3.0 * time) + 0.5;
    if (s.anim == AnimSinePulse) radius = pulseRadius(s, radius, j, time);
    if (s.anim == AnimWonk) height = radius;

    const double theta = 2.0 * kPi * static_cast<double>(i) / static_cast<double>(s.countx);
    const float x = static_cast<float>(std::sin(theta) * radius);
    const float y = static_cast<float>(-std::cos(theta) * radius);
    const float z = static_cast<float>(j) * height - static_cast<float>(int64_t{s.county} - 1) * height * 0.5f;
    const float column = static_cast<float>(i) / static_cast<float>(s.countx);
    Motion& m = child.motion;
    if (!(s.anim & AnimBurn)) {
        setPoint(m.point, x, y, z);
    } else {
        if (child.scale < 0.01f) {
            setPoint(m.point, x, y, z);
            const float f = static_cast<float>(randomPercent() / 20.0);
            setPoint(m.deltaPoint, m.direction[0] * f, m.direction[1] * f, column * f);
            child.scale = 1.0;
        }
        child.scale -= (randomPercent() / 40.0) * delta;
    }
    m.direction[2] = column;
}
} // namespace

void stepFormation(const FormationSettings& s, Demoeffect* const* children, size_t count, double time, double delta)
{
    const int64_t cells = static_cast<int64_t>(s.countx) * s.county;
    if (cells < 1) return;
    const size_t n = static_cast<uint64_t>(cells) < count ? static_cast<size_t>(cells) : count;
    const bool lifeFlag = (s.state & kStateTextureOnRespawn) || (s.anim & AnimBurn);
    for (size_t k = 0; k < n; ++k) {
        Demoeffect* child = children[k];
        if (!child) continue;
        const int64_t i = static_cast<int64_t>(k) % s.countx;
        const int64_t j = static_cast<int64_t>(k) / s.countx;
        if (lifeFlag) updateLifeFlag(s, *child);
        if (s.type == FormationTown)
            stepTown(s, *child, i, j, time, delta);
        else if (s.type == FormationTube)
            stepTube(s, *child, i, j, time, delta);
    }
}
