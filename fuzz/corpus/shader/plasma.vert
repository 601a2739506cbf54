0#version 330 compatibility
// "plasma": animated procedural colour for spheres and models (vertex stage).
// state bits (shared with plasma.frag):
//   1  beat flash: brighter on every beat
//   2  textured: the plasma is multiplied with the texture of unit 0
//   4  wobble: the surface bulges in slow waves
//   8  bands: the colours are cut into hard stripes
//   16 fast: the plasma moves three times as fast
// Attribute locations are fixed (0, 1, 2) like in every mesh program.
layout(location = 0) in vec3 in_position;
layout(location = 1) in vec3 in_normal;
layout(location = 2) in vec2 in_texcoords;

uniform int state;
uniform float musictime;

out vec3 v_normal;
out vec3 v_eye;
out vec3 v_object;
out vec2 v_uv;

void main()
{
    vec3 p = in_position;
    if ((state & 4) != 0)
        p += in_normal * 0.12 * sin(dot(in_position, vec3(2.1, 3.3, 1.7)) + musictime * 2.0);
    vec4 eye = gl_ModelViewMatrix * vec4(p, 1.0);
    v_eye = eye.xyz;
    v_normal = normalize(gl_NormalMatrix * in_normal);
    v_object = in_position;
    v_uv = in_texcoords;
    gl_Position = gl_ModelViewProjectionMatrix * vec4(p, 1.0);
}
