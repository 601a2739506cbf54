0#version 330 compatibility
// "glow": emissive, self-lit orbs for particles (vertex stage).  The colour
// fades out towards the silhouette through alpha, so with the usual
// source-alpha blending a sphere looks like a soft glowing light.
// state bits (shared with glow.frag):
//   1  flash: white-hot burst (a burning particle's respawn sets this bit)
//   2  rainbow: every particle takes its own hue from its place on screen
//   4  shell: a hollow glowing ring instead of a bright core
//   8  strobe: the glow is gated by the beat
// Attribute locations are fixed (0, 1, 2) like in every mesh program.
layout(location = 0) in vec3 in_position;
layout(location = 1) in vec3 in_normal;
layout(location = 2) in vec2 in_texcoords;

uniform int state;
uniform float musictime;

out vec3 v_normal;
out vec3 v_eye;
out vec2 v_uv;
out vec3 v_centre;

void main()
{
    vec4 eye = gl_ModelViewMatrix * vec4(in_position, 1.0);
    v_eye = eye.xyz;
    v_normal = normalize(gl_NormalMatrix * in_normal);
    v_uv = in_texcoords;
    v_centre = (gl_ModelViewMatrix * vec4(0.0, 0.0, 0.0, 1.0)).xyz;
    gl_Position = gl_ModelViewProjectionMatrix * vec4(in_position, 1.0);
}
