1#version 330 compatibility
// "image": fragment stage for textured quads (state bits in image.vert).
// Shows the texture of unit 0 times the current colour; a quad without a
// texture shows the colour alone.
// Unit 0 counts as untextured when its texture is at most 1 texel wide: with no
// texture bound, drivers sample an empty or 1x1 black stand-in.
uniform int state;
uniform float musictime;
uniform sampler2D tex;

in vec2 v_uv;
in vec4 v_colour;
in float v_pulse;

out vec4 fragColor;

vec3 hueRotate(vec3 c, float turns)
{
    float a = turns * 6.2831853;
    vec3 k = vec3(0.57735);
    float ca = cos(a);
    return c * ca + cross(k, c) * sin(a) + k * dot(k, c) * (1.0 - ca);
}

vec4 sampleAt(vec2 uv)
{
    if (textureSize(tex, 0).x > 1)
        return texture(tex, uv);
    return vec4(1.0);
}

void main()
{
    vec2 uv = v_uv;
    if ((state & 4) != 0)
        uv.x += 0.015 * sin(uv.y * 25.0 + musictime * 5.0);
    vec4 c = sampleAt(uv);
    if ((state & 16) != 0) {
        float split = 0.012 * v_pulse;
        c.r = sampleAt(uv + vec2(split, 0.0)).r;
        c.b = sampleAt(uv - vec2(split, 0.0)).b;
    }
    c *= v_colour;
    if ((state & 2) != 0)
        c.rgb = hueRotate(c.rgb, musictime * (125.0 / 60.0) / 16.0);
    if ((state & 1) != 0)
        c.rgb *= 1.0 + 0.5 * v_pulse;
    if ((state & 8) != 0)
        c.rgb *= 0.75 + 0.25 * sin(gl_FragCoord.y * 3.14159);
    if (c.a < 0.004)
        discard;
    fragColor = c;
}
