#version 330 compatibility
// "image": textured quads drawn in immediate mode (Image and Text effects),
// so it reads the fixed-function inputs gl_Vertex, gl_MultiTexCoord0 and
// gl_Color rather than mesh attributes (vertex stage).
// state bits (shared with image.frag):
//   1  beat pulse: brighter and slightly larger on every beat
//   2  hue cycle: one hue turn per 4 bars
//   4  wave: the picture ripples sideways (text: each letter bends in place)
//   8  scanlines: dark horizontal lines like an old screen
//   16 glitch: red and blue split apart on every beat
uniform int state;
uniform float musictime;

out vec2 v_uv;
out vec4 v_colour;
out float v_pulse;

void main()
{
    float pulse = exp(-fract(musictime * (125.0 / 60.0)) * 5.0);
    vec4 p = gl_Vertex;
    if ((state & 1) != 0)
        p.xy *= 1.0 + 0.04 * pulse;
    v_uv = gl_MultiTexCoord0.st;
    v_colour = gl_Color;
    v_pulse = pulse;
    gl_Position = gl_ModelViewProjectionMatrix * p;
}
