1#version 330 compatibility
// "main": fragment stage of the sphere program (state bits in main.vert).
// Diffuse + specular from light 0 (the camera's light), rim light, the
// texture of unit 0 (a procedural marble when no texture is bound), fog.
// Unit 0 counts as untextured when its texture is at most 1 texel wide: with no
// texture bound, drivers sample an empty or 1x1 black stand-in.
uniform int state;
uniform float musictime;
uniform sampler2D tex;

in vec3 v_normal;
in vec3 v_eye;
in vec2 v_uv;
in float v_pulse;

out vec4 fragColor;

const vec3 FOG_COLOUR = vec3(0.05, 0.03, 0.12);
const float FOG_DENSITY = 0.012;

vec3 hueRotate(vec3 c, float turns)
{
    float a = turns * 6.2831853;
    vec3 k = vec3(0.57735);
    float ca = cos(a);
    return c * ca + cross(k, c) * sin(a) + k * dot(k, c) * (1.0 - ca);
}

vec3 baseColour()
{
    if (textureSize(tex, 0).x > 1)
        return texture(tex, v_uv).rgb;
    float m = sin(v_uv.x * 25.0 + sin(v_uv.y * 12.0) * 3.0 + musictime * 0.5);
    return mix(vec3(0.15, 0.35, 0.9), vec3(0.95, 0.4, 0.7), 0.5 + 0.5 * m);
}

void main()
{
    vec3 n = normalize(v_normal);
    vec3 v = normalize(-v_eye);
    // x-ray is see-through: skip the far side so it cannot band through
    if ((state & 16) != 0 && dot(n, v) < 0.0)
        discard;
    if (!gl_FrontFacing)
        n = -n;
    vec3 l = normalize(gl_LightSource[0].position.xyz);
    float diff = max(dot(n, l), 0.0);
    float specular = pow(max(dot(reflect(-l, n), v), 0.0), 40.0);
    float rim = pow(1.0 - max(dot(n, v), 0.0), 3.0);
    if ((state & 8) != 0) {
        diff = floor(diff * 3.0 + 0.5) / 3.0;
        specular = step(0.5, specular);
    }
    vec3 albedo = baseColour();
    if ((state & 2) != 0)
        albedo = hueRotate(albedo, musictime * (125.0 / 60.0) / 16.0);
    vec3 rimColour = hueRotate(vec3(0.3, 0.7, 1.0), musictime * 0.05);
    vec3 c = albedo * (0.25 + 0.85 * diff) + vec3(specular) * 0.6 + rimColour * rim * 0.8;
    float alpha = 1.0;
    if ((state & 1) != 0)
        c *= 1.0 + 0.5 * v_pulse;
    if ((state & 8) != 0 && rim > 0.45)
        c *= 0.1;
    if ((state & 16) != 0) {
        c = rimColour * (rim * 2.0 + 0.05) + albedo * 0.1;
        alpha = clamp(rim * 1.5 + 0.1, 0.0, 1.0);
    }
    float fog = 1.0 - exp(-FOG_DENSITY * length(v_eye));
    fragColor = vec4(mix(c, FOG_COLOUR, clamp(fog, 0.0, 1.0)), alpha);
}
