0#version 330 compatibility
// "sky": a sky dome drawn on a big sphere around the camera (vertex stage).
// Unlit; the texture of unit 0 is seen from the inside and drifts slowly.
// state bits (shared with sky.frag):
//   1  beat flash: the sky brightens on every beat
//   2  fast hues: one hue turn per 4 bars instead of one per two minutes
//   4  swirl: the texture coordinates wave and twist
//   8  dim: the sky is darkened to a third (for quiet parts)
// Attribute locations are fixed (0, 1, 2) like in every mesh program.
layout(location = 0) in vec3 in_position;
layout(location = 1) in vec3 in_normal;
layout(location = 2) in vec2 in_texcoords;

uniform int state;
uniform float musictime;

out vec2 v_uv;
out vec3 v_dir;

void main()
{
    v_uv = in_texcoords;
    v_dir = normalize(in_position + vec3(0.0, 1e-6, 0.0));
    gl_Position = gl_ModelViewProjectionMatrix * vec4(in_position, 1.0);
}
