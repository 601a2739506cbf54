1#version 330 compatibility
// "glow": fragment stage of the emissive particle program (state bits in
// glow.vert).  Fragments too faint to see, and those of the far side, are
// discarded so that they write no depth.
// Unit 0 counts as untextured when its texture is at most 1 texel wide: with no
// texture bound, drivers sample an empty or 1x1 black stand-in.
uniform int state;
uniform float musictime;
uniform sampler2D tex;

in vec3 v_normal;
in vec3 v_eye;
in vec2 v_uv;
in vec3 v_centre;

out vec4 fragColor;

vec3 hueRotate(vec3 c, float turns)
{
    float a = turns * 6.2831853;
    vec3 k = vec3(0.57735);
    float ca = cos(a);
    return c * ca + cross(k, c) * sin(a) + k * dot(k, c) * (1.0 - ca);
}

void main()
{
    vec3 n = normalize(v_normal);
    vec3 v = normalize(-v_eye);
    // Only the half that faces the viewer is drawn: with blending, the far half
    // would otherwise show through in bands that depend on the drawing order.
    float facing = dot(n, v);
    if (facing < 0.0)
        discard;
    float core = pow(facing, 2.5);
    float edge = pow(1.0 - facing, 2.0);
    vec3 tint = hueRotate(vec3(0.2, 0.8, 1.0), musictime * 0.03);
    if ((state & 2) != 0)
        tint = hueRotate(vec3(1.0, 0.3, 0.3), dot(v_centre, vec3(0.05, 0.07, 0.03)) + musictime * 0.1);
    if (textureSize(tex, 0).x > 1)
        tint *= texture(tex, v_uv).rgb * 1.5;
    float intensity = core;
    if ((state & 4) != 0)
        intensity = edge * 1.3 + core * 0.1;
    if ((state & 8) != 0)
        intensity *= 0.25 + 0.75 * exp(-fract(musictime * (125.0 / 60.0)) * 4.0);
    vec3 c = tint * (0.6 + 1.2 * intensity) + vec3(1.0) * pow(core, 6.0) * 0.8;
    if ((state & 1) != 0) {
        c = mix(c, vec3(1.0, 0.95, 0.8), 0.7);
        intensity = max(intensity, 0.8);
    }
    float alpha = clamp(intensity * 1.2, 0.0, 1.0);
    if (alpha < 0.02)
        discard;
    fragColor = vec4(c, alpha);
}
