#version 330 compatibility
// "shards": the starter demo's three-stage program, a mesh whose triangles burst apart on every
// beat (vertex stage: eye-space positions and normals for the geometry stage).
// Attribute locations are fixed (0, 1, 2) like in every mesh program, so a sphere made with
// "main" may switch to it with "shader".
layout(location = 0) in vec3 in_position;
layout(location = 1) in vec3 in_normal;
layout(location = 2) in vec2 in_texcoords;

uniform int state;
uniform float musictime;

out vec3 g_eye;
out vec3 g_normal;
out vec2 g_uv;

void main()
{
    g_eye = (gl_ModelViewMatrix * vec4(in_position, 1.0)).xyz;
    g_normal = normalize(gl_NormalMatrix * in_normal);
    g_uv = in_texcoords;
    gl_Position = vec4(g_eye, 1.0);
}
