#version 330 compatibility
// "image": fragment stage for textured quads (state bits in image.vert).
// Shows the texture of unit 0 times the current colour; a quad without a
// texture shows the colour alone.
// A text sets glyphcells to the cells per side of its font atlas while it
// draws its glyphs (0 otherwise): then every sample stays inside the glyph's
// own cell, and the wave bends each letter within its place (by up to 0.15
// of its width) instead of rippling the whole texture.
// Unit 0 counts as untextured when its texture is at most 1 texel wide: with no
// texture bound, drivers sample an empty or 1x1 black stand-in.
uniform int state;
uniform float musictime;
uniform sampler2D tex;
uniform int glyphcells;

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

// The glyph's cell of the font atlas (lower-left corner, side), found from
// the unmoved coordinate; the whole texture when no text is drawing.
vec2 cellLow;
float cellSize;

// While a text draws, a moved sample point stays inside its glyph's cell,
// half a texel in from the edges so that filtering does not reach the next.
vec4 sampleAt(vec2 uv)
{
    if (textureSize(tex, 0).x <= 1)
        return vec4(1.0);
    if (glyphcells > 0) {
        vec2 half_texel = 0.5 / vec2(textureSize(tex, 0));
        uv = clamp(uv, cellLow + half_texel, cellLow + cellSize - half_texel);
    }
    return texture(tex, uv);
}

void main()
{
    vec2 uv = v_uv;
    cellSize = glyphcells > 0 ? 1.0 / float(glyphcells) : 1.0;
    cellLow = glyphcells > 0 ? floor(v_uv / cellSize) * cellSize : vec2(0.0);
    if ((state & 4) != 0 && glyphcells > 0)
        uv.x += 0.15 * cellSize * sin((uv.y - cellLow.y) / cellSize * 3.14159 + musictime * 5.0);
    else if ((state & 4) != 0)
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
