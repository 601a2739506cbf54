0#version 330 compatibility
// "main": the program of every generated sphere (vertex stage).
// Lit, textured from unit 0, breathing with the music.
// state bits (shared with main.frag):
//   1  beat pulse: the surface swells on every beat and flashes brighter
//   2  hue cycle: the colour turns through the hues, one turn per 4 bars
//   4  waves: ripples run over the surface
//   8  toon: lighting in hard bands with a dark outline rim
//   16 x-ray: only the rim glows, the middle fades out
// Attribute locations are fixed (0, 1, 2) so that every mesh program agrees
// with a vertex array that was set up for another program.
layout(location = 0) in vec3 in_position;
layout(location = 1) in vec3 in_normal;
layout(location = 2) in vec2 in_texcoords;

uniform int state;
uniform float musictime;

out vec3 v_normal;
out vec3 v_eye;
out vec2 v_uv;
out float v_pulse;

const float BEATS_PER_SECOND = 125.0 / 60.0;

void main()
{
    float beat = musictime * BEATS_PER_SECOND;
    float pulse = exp(-fract(beat) * 5.0);
    vec3 n = normalize(in_normal + vec3(0.0, 0.0, 1e-6));
    vec3 p = in_position;
    if ((state & 1) != 0)
        p += n * 0.08 * pulse;
    if ((state & 4) != 0)
        p += n * 0.06 * sin(in_position.y * 9.0 + musictime * 4.0)
                   * cos(in_position.x * 7.0 - musictime * 3.0);
    vec4 eye = gl_ModelViewMatrix * vec4(p, 1.0);
    v_eye = eye.xyz;
    v_normal = normalize(gl_NormalMatrix * n);
    v_uv = in_texcoords;
    v_pulse = pulse;
    gl_Position = gl_ModelViewProjectionMatrix * vec4(p, 1.0);
}
