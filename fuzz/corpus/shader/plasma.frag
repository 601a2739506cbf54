1#version 330 compatibility
// "plasma": fragment stage of the procedural colour program (state bits in
// plasma.vert).  A sum of moving sine waves in object space, mapped through
// a cosine palette, lightly shaded by light 0, with fog.
// Unit 0 counts as untextured when its texture is at most 1 texel wide: with no
// texture bound, drivers sample an empty or 1x1 black stand-in.
uniform int state;
uniform float musictime;
uniform sampler2D tex;

in vec3 v_normal;
in vec3 v_eye;
in vec3 v_object;
in vec2 v_uv;

out vec4 fragColor;

const vec3 FOG_COLOUR = vec3(0.05, 0.03, 0.12);

vec3 palette(float t)
{
    return 0.5 + 0.5 * cos(6.2831853 * (t + vec3(0.0, 0.33, 0.67)));
}

void main()
{
    float t = musictime * (((state & 16) != 0) ? 1.5 : 0.5);
    vec3 p = v_object * 2.0;
    float v = sin(p.x * 1.3 + t)
            + sin(p.y * 1.7 - t * 1.3)
            + sin((p.x + p.z) * 1.1 + t * 0.7)
            + sin(length(p.xy + vec2(sin(t * 0.3), cos(t * 0.4)) * 2.0) * 2.0 - t);
    v = v * 0.25;
    if ((state & 8) != 0)
        v = floor(v * 6.0) / 6.0;
    vec3 c = palette(v + t * 0.1);
    if ((state & 2) != 0 && textureSize(tex, 0).x > 1)
        c *= texture(tex, v_uv).rgb * 1.4;
    vec3 n = normalize(v_normal);
    if (!gl_FrontFacing)
        n = -n;
    vec3 l = normalize(gl_LightSource[0].position.xyz);
    float light = 0.65 + 0.45 * max(dot(n, l), 0.0);
    float rim = pow(1.0 - abs(dot(n, normalize(-v_eye))), 3.0);
    c = c * light + c * rim * 0.8;
    if ((state & 1) != 0)
        c *= 1.0 + 0.5 * exp(-fract(musictime * (125.0 / 60.0)) * 5.0);
    float fog = 1.0 - exp(-0.012 * length(v_eye));
    fragColor = vec4(mix(c, FOG_COLOUR, clamp(fog, 0.0, 1.0)), 1.0);
}
