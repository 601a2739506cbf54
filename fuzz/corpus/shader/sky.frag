1#version 330 compatibility
// "sky": fragment stage of the sky dome (state bits in sky.vert).
// Unit 0 counts as untextured when its texture is at most 1 texel wide: with no
// texture bound, drivers sample an empty or 1x1 black stand-in.
uniform int state;
uniform float musictime;
uniform sampler2D tex;

in vec2 v_uv;
in vec3 v_dir;

out vec4 fragColor;

vec3 hueRotate(vec3 c, float turns)
{
    float a = turns * 6.2831853;
    vec3 k = vec3(0.57735);
    float ca = cos(a);
    return c * ca + cross(k, c) * sin(a) + k * dot(k, c) * (1.0 - ca);
}

// Sharp twinkling stars on top of the texture: one candidate star per cell of
// a 3D grid around the viewer, lit for a few per cent of the cells.
float stars(vec3 dir)
{
    vec3 p = dir * 110.0;
    vec3 cell = floor(p);
    float h = fract(sin(dot(cell, vec3(127.1, 311.7, 74.7))) * 43758.5453);
    vec3 centre = vec3(fract(h * 7.13), fract(h * 3.37), fract(h * 5.71)) * 0.6 + 0.2;
    float d = length(fract(p) - centre);
    float twinkle = 0.65 + 0.35 * sin(musictime * 3.0 + h * 60.0);
    return step(0.94, h) * smoothstep(0.16, 0.02, d) * twinkle;
}

void main()
{
    vec2 uv = v_uv + vec2(musictime * 0.004, 0.0);
    if ((state & 4) != 0) {
        uv.x += 0.02 * sin(uv.y * 20.0 + musictime * 1.5);
        uv.y += 0.015 * sin(uv.x * 30.0 - musictime * 1.1);
    }
    vec3 c;
    if (textureSize(tex, 0).x > 1) {
        c = texture(tex, uv).rgb;
    } else {
        float h = v_dir.y;
        c = mix(vec3(0.25, 0.05, 0.3), vec3(0.02, 0.02, 0.1), clamp(h * 1.5, 0.0, 1.0));
        c = mix(c, vec3(0.6, 0.2, 0.3), clamp(-h * 2.0, 0.0, 1.0));
    }
    float turns = ((state & 2) != 0) ? musictime * (125.0 / 60.0) / 16.0 : musictime / 120.0;
    c = hueRotate(c, turns) + vec3(0.9, 0.95, 1.0) * stars(normalize(v_dir));
    if ((state & 1) != 0)
        c *= 1.0 + 0.35 * exp(-fract(musictime * (125.0 / 60.0)) * 6.0);
    if ((state & 8) != 0)
        c *= 0.33;
    fragColor = vec4(c, 1.0);
}
