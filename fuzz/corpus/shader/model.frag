1#version 330 compatibility
// "model": fragment stage of the OBJ model program (state bits in
// model.vert).  Diffuse + specular from light 0, a coloured rim light,
// the texture of unit 0 (a violet metal when none is bound) and fog.
// Unit 0 counts as untextured when its texture is at most 1 texel wide: with no
// texture bound, drivers sample an empty or 1x1 black stand-in.
uniform int state;
uniform float musictime;
uniform sampler2D tex;

in vec3 v_normal;
in vec3 v_eye;
in vec3 v_object;
in vec3 v_objectNormal;
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

bool hasTexture()
{
    return textureSize(tex, 0).x > 1;
}

vec3 triplanar()
{
    vec3 w = abs(normalize(v_objectNormal + vec3(1e-4)));
    w /= w.x + w.y + w.z;
    return texture(tex, v_object.yz * 0.5).rgb * w.x + texture(tex, v_object.xz * 0.5).rgb * w.y
         + texture(tex, v_object.xy * 0.5).rgb * w.z;
}

vec3 neonHeights()
{
    float h = v_object.y;
    vec3 low = vec3(0.05, 0.02, 0.15);
    vec3 mid = vec3(0.45, 0.05, 0.55);
    vec3 top = vec3(1.0, 0.55, 0.25);
    vec3 c = mix(low, mid, smoothstep(0.0, 0.9, h));
    c = mix(c, top, smoothstep(0.9, 2.0, h));
    vec2 g = abs(fract(v_object.xz + 0.5) - 0.5) / fwidth(v_object.xz);
    float line = 1.0 - min(min(g.x, g.y), 1.0);
    float wave = 0.5 + 0.5 * sin(v_object.z * 0.6 - musictime * 4.0);
    return c + vec3(0.1, 0.8, 1.0) * line * (0.5 + 0.8 * wave);
}

vec3 chrome(vec3 n, vec3 v)
{
    vec3 r = reflect(-v, n);
    float t = r.y;
    vec3 sky = mix(vec3(0.9, 0.6, 1.0), vec3(0.1, 0.2, 0.6), clamp(t, 0.0, 1.0));
    vec3 ground = mix(vec3(0.9, 0.4, 0.2), vec3(0.05, 0.0, 0.1), clamp(-t * 3.0, 0.0, 1.0));
    return t > 0.0 ? sky : ground;
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
    float specular = pow(max(dot(reflect(-l, n), v), 0.0), 60.0);
    float rim = pow(1.0 - max(dot(n, v), 0.0), 2.5);

    vec3 albedo = vec3(0.45, 0.35, 0.75);
    if (hasTexture())
        albedo = ((state & 4) != 0) ? triplanar() : texture(tex, v_uv).rgb;
    if ((state & 2) != 0)
        albedo = hueRotate(albedo, musictime * (125.0 / 60.0) / 16.0);
    vec3 rimColour = hueRotate(vec3(1.0, 0.35, 0.8), musictime * 0.04);

    vec3 c = albedo * (0.22 + 0.9 * diff) + vec3(specular) * 0.7 + rimColour * rim * 0.9;
    if ((state & 8) != 0)
        c = neonHeights() * (0.55 + 0.6 * diff) + rimColour * rim * 0.3;
    if ((state & 32) != 0)
        c = chrome(n, v) * (0.6 + 0.4 * diff) + vec3(specular) + rimColour * rim * 0.4;
    float alpha = 1.0;
    if ((state & 16) != 0) {
        c = rimColour * (rim * 2.2 + 0.05);
        alpha = clamp(rim * 1.6 + 0.08, 0.0, 1.0);
    }
    if ((state & 1) != 0)
        c *= 1.0 + 0.6 * v_pulse;
    float fog = 1.0 - exp(-FOG_DENSITY * length(v_eye));
    fragColor = vec4(mix(c, FOG_COLOUR, clamp(fog, 0.0, 1.0)), alpha);
}
