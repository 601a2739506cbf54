0#version 330 compatibility
// "model": the program for OBJ models (vertex stage).
// state bits (shared with model.frag):
//   1  beat pulse: the model swells a little on every beat and flashes
//   2  hue cycle: the colour turns through the hues, one turn per 4 bars
//   4  triplanar: texture projected from the object's axes instead of the
//      mesh's texture coordinates (for meshes without them)
//   8  neon heights: colour by object height with a glowing grid, for terrain
//   16 x-ray: only the rim glows
//   32 chrome: a mirror-like sky/ground reflection instead of the texture
// Attribute locations are fixed (0, 1, 2) so that every mesh program agrees
// with a vertex array that was set up for another program.
layout(location = 0) in vec3 in_position;
layout(location = 1) in vec3 in_normal;
layout(location = 2) in vec2 in_texcoords;

uniform int state;
uniform float musictime;

out vec3 v_normal;
out vec3 v_eye;
out vec3 v_object;
out vec3 v_objectNormal;
out vec2 v_uv;
out float v_pulse;

void main()
{
    float pulse = exp(-fract(musictime * (125.0 / 60.0)) * 5.0);
    vec3 p = in_position;
    if ((state & 1) != 0)
        p *= 1.0 + 0.06 * pulse;
    vec4 eye = gl_ModelViewMatrix * vec4(p, 1.0);
    v_eye = eye.xyz;
    v_normal = normalize(gl_NormalMatrix * in_normal);
    v_object = in_position;
    v_objectNormal = in_normal;
    v_uv = in_texcoords;
    v_pulse = pulse;
    gl_Position = gl_ModelViewProjectionMatrix * vec4(p, 1.0);
}
