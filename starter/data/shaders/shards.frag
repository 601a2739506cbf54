#version 330 compatibility
// "shards": fragment stage. Light 0 (the camera's light) on a colour that turns through the hues,
// one turn per 4 bars, with a rim glow.
uniform int state;
uniform float musictime;

in vec3 v_eye;
in vec3 v_normal;
in vec2 v_uv;

out vec4 fragColor;

void main()
{
    vec3 n = normalize(v_normal);
    if (!gl_FrontFacing)
        n = -n;
    vec3 v = normalize(-v_eye);
    vec3 l = normalize(gl_LightSource[0].position.xyz);
    float turn = musictime * (125.0 / 60.0) / 16.0 * 6.2831853;
    vec3 colour = 0.55 + 0.45 * cos(turn + vec3(0.0, 2.1, 4.2) + v_uv.y * 3.0);
    float diffuse = max(dot(n, l), 0.0);
    float rim = pow(1.0 - max(dot(n, v), 0.0), 2.0);
    fragColor = vec4(colour * (0.3 + 0.8 * diffuse) + vec3(rim * 0.6), 1.0);
}
