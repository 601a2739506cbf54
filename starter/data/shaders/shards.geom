#version 330 compatibility
// "shards": geometry stage. Each triangle shrinks towards its centre and is pushed out along its
// normal by a kick that jumps on every beat (125 BPM) and dies away before the next.
// state bits: 1 bigger burst.
layout(triangles) in;
layout(triangle_strip, max_vertices = 3) out;

uniform int state;
uniform float musictime;

in vec3 g_eye[];
in vec3 g_normal[];
in vec2 g_uv[];

out vec3 v_eye;
out vec3 v_normal;
out vec2 v_uv;

void main()
{
    float kick = exp(-fract(musictime * (125.0 / 60.0)) * 4.0);
    float reach = (state & 1) != 0 ? 1.2 : 0.5;
    vec3 centre = (g_eye[0] + g_eye[1] + g_eye[2]) / 3.0;
    vec3 n = normalize(g_normal[0] + g_normal[1] + g_normal[2] + vec3(0.0, 0.0, 1e-6));
    for (int i = 0; i < 3; ++i) {
        v_eye = mix(centre, g_eye[i], 0.85) + n * reach * kick;
        v_normal = g_normal[i];
        v_uv = g_uv[i];
        gl_Position = gl_ProjectionMatrix * vec4(v_eye, 1.0);
        EmitVertex();
    }
    EndPrimitive();
}
