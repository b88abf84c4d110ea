// Lighting of meshes shared by the lit pixel programs: the inputs, the
// blocks, the textures and shade().
//
// The MORVANEX_HAS_* switches leave out the code of the material features
// an object does not use (a program made for it defines them 0); undefined
// they are all on and the material block decides at run time.
#ifndef MORVANEX_HAS_TEXTURE1
#define MORVANEX_HAS_TEXTURE1 1
#endif
#ifndef MORVANEX_HAS_TEXTURE2
#define MORVANEX_HAS_TEXTURE2 1
#endif
#ifndef MORVANEX_HAS_TEXTURE3
#define MORVANEX_HAS_TEXTURE3 1
#endif
#ifndef MORVANEX_HAS_NORMAL_MAP
#define MORVANEX_HAS_NORMAL_MAP 1
#endif
#ifndef MORVANEX_HAS_ENVIRONMENT
#define MORVANEX_HAS_ENVIRONMENT 1
#endif
#ifndef MORVANEX_HAS_SHADOW_MAP
#define MORVANEX_HAS_SHADOW_MAP 1
#endif
#ifndef MORVANEX_HAS_MIRROR
#define MORVANEX_HAS_MIRROR 1
#endif
#include "mesh_fragment_input.glsl"

#include "transform_block.glsl"

#include "material_block.glsl"

struct LightRecord {
    vec4 position;      // world position (w = 1), or the direction a directional light shines (w = 0)
    float range;        // fade-out distance; 0: no fall-off
    float intensity;
    float specularScale;
    int kind;           // 0 point, 1 directional, 2 spot
    vec4 colour;
    mat4 orientation;   // a spot shines along its +z row
    float coneInnerCos;
    float coneOuterCos;
    float conePad0;
    float conePad1;
    vec4 spare;
};

layout(std140) uniform LightBlock {
    float ambient;
    float headerPad0;
    float headerPad1;
    float headerPad2;
    vec4 ambientColour;
    int lightCount;
    float exposure;
    float headerPad3;
    float headerPad4;
    LightRecord lights[32];
} lb;

layout(std140) uniform TintBlock {
    vec4 colour;
    int multiply;
    int replace;
    int pad0;
    int pad1;
} tint;

uniform samplerCube uEnvironment;
uniform sampler2D uImage1;      // mirror image
uniform sampler2D uLightView;   // light-view image
uniform sampler2D uTexture1;    // colour texture, or the normal map
uniform sampler2D uTexture2;
uniform sampler2D uTexture3;    // detail or light map on the second coordinates

out vec4 outColour;

// Normal from the interpolated normal, optionally bent by a tangent-space
// normal map (x along +u, y along +v, z out of the surface).
vec3 surfaceNormal(bool bumped, vec2 uv) {
    vec3 n = normalize(fin.normal);
    if (!gl_FrontFacing) n = -n;
    if (MORVANEX_HAS_NORMAL_MAP == 0 || !bumped || dot(fin.tangent, fin.tangent) == 0.0) return n;
    vec3 t = normalize(fin.tangent - n * dot(n, fin.tangent));
    vec3 b = fin.bitangent - n * dot(n, fin.bitangent) - t * dot(t, fin.bitangent);
    b = dot(b, b) > 0.0 ? normalize(b) : normalize(cross(t, n));
    vec3 m = texture(uTexture1, uv).xyz * 2.0 - 1.0;
    float strength = mb.bumpStrength > 0.0 ? mb.bumpStrength : 1.0;
    m.xy *= strength;
    return normalize(t * m.x + b * m.y + n * max(m.z, 0.0));
}

// Blinn-Phong over the light records: smooth range fall-off, spot cones,
// energy-balanced highlights.
void accumulateLights(vec3 n, vec3 v, out vec3 diffuseLight, out vec3 specularLight) {
    diffuseLight = vec3(0.0);
    specularLight = vec3(0.0);
    float power = mb.specularPower > 0.0 ? mb.specularPower : 32.0;
    float norm = (power + 8.0) / 25.1327;  // (n + 8) / (8 pi)
    int count = clamp(lb.lightCount, 0, 32);
    for (int i = 0; i < count; ++i) {
        // Fields are read one by one: copying the whole record (its
        // orientation included) costs every fragment for every light.
        vec4 position = lb.lights[i].position;
        int kind = lb.lights[i].kind;
        vec3 l;
        float attenuation = 1.0;
        if (kind == 1 || position.w == 0.0) {
            l = -position.xyz;
            l = dot(l, l) > 0.0 ? normalize(l) : vec3(0.0, 1.0, 0.0);
        } else {
            vec3 toLight = position.xyz - fin.worldPos;
            float d = length(toLight);
            l = d > 0.0 ? toLight / d : n;
            float range = lb.lights[i].range;
            if (range > 0.0) {
                float x = clamp(1.0 - (d * d) / (range * range), 0.0, 1.0);
                attenuation = x * x;
            }
            if (kind == 2) {
                mat4 orientation = lb.lights[i].orientation;
                vec3 axis = normalize(vec3(orientation[0][2], orientation[1][2], orientation[2][2]));
                float c = dot(-l, axis);
                float outer = lb.lights[i].coneOuterCos;
                attenuation *= smoothstep(outer, max(lb.lights[i].coneInnerCos, outer + 1e-4), c);
            }
        }
        float ndl = max(dot(n, l), 0.0);
        if (ndl <= 0.0 || attenuation <= 0.0) continue;
        vec3 radiance = lb.lights[i].colour.rgb * lb.lights[i].intensity * attenuation;
        diffuseLight += radiance * ndl;
        vec3 h = normalize(l + v);
        float shine = pow(max(dot(n, h), 0.0), power) * norm * ndl;
        specularLight += radiance * shine * lb.lights[i].specularScale;
    }
}

// Everything but reflection: textures, ambient (from the environment when
// one is bound), lights, projected light-view shadow, mirror image, tint.
vec4 shade(vec3 n, bool bumped) {
    vec2 uv = fin.uv0;
    vec4 base = mb.diffuse;
    if (MORVANEX_HAS_TEXTURE1 != 0 && mb.useTexture1 != 0 && !bumped) base *= texture(uTexture1, uv);
    if (MORVANEX_HAS_TEXTURE2 != 0 && mb.useTexture2 != 0) base *= texture(uTexture2, uv);
    if (MORVANEX_HAS_TEXTURE3 != 0 && mb.useTexture3 != 0) base *= texture(uTexture3, fin.uv1);
    if (mb.alphaTest != 0 && base.a < 0.5) discard;
    if (mb.lightPass != 0) return vec4(0.0, 0.0, 0.0, 1.0);  // silhouette for light-view images
    if (mb.unlit != 0) return vec4(base.rgb, base.a * mb.opacity);

    vec3 v = tb.eyePosition - fin.worldPos;
    v = dot(v, v) > 0.0 ? normalize(v) : -n;
    vec3 ambient = lb.ambient * lb.ambientColour.rgb;
    if (MORVANEX_HAS_ENVIRONMENT != 0 && mb.environment != 0) ambient *= textureLod(uEnvironment, n, 6.0).rgb * 2.0;
    ambient = max(ambient, vec3(mb.ambientFloor));
    // The default grey material (0.7) takes the ambient light as it is.
    ambient *= mb.ambientColour.rgb * (1.0 / 0.7);

    vec3 diffuseLight;
    vec3 specularLight;
    accumulateLights(n, v, diffuseLight, specularLight);
    if (MORVANEX_HAS_SHADOW_MAP != 0 && mb.shadowMap != 0) {
        vec4 s = vec4(fin.worldPos, 1.0) * mb.mirrorOrShadow;
        if (s.w > 0.0) {
            vec2 st = vec2(s.x / s.w * 0.5 + 0.5, s.y / s.w * 0.5 + 0.5);
            if (all(greaterThanEqual(st, vec2(0.0))) && all(lessThanEqual(st, vec2(1.0)))) {
                float lit = texture(uLightView, st).r;
                diffuseLight *= mix(0.35, 1.0, lit);
                specularLight *= lit;
            }
        }
    }
    float strength = mb.specularStrength > 0.0 ? mb.specularStrength : 1.0;
    vec3 colour = base.rgb * (ambient + diffuseLight) + mb.specular.rgb * specularLight * strength;
    float exposure = lb.exposure > 0.0 ? lb.exposure : 1.0;
    colour *= exposure;
    if (MORVANEX_HAS_MIRROR != 0 && mb.mirrorImages != 0) {
        vec2 screen = gl_FragCoord.xy / vec2(max(mb.targetWidth, 1.0), max(mb.targetHeight, 1.0));
        colour = mix(colour, texture(uImage1, screen).rgb, clamp(max(mb.reflection, 0.5), 0.0, 1.0));
    }
    if (mb.highlightOn != 0) colour = mix(colour, mb.highlight.rgb, mb.highlight.a * 0.5);
    if (tint.replace != 0) colour = tint.colour.rgb;
    else if (tint.multiply != 0) colour *= tint.colour.rgb;
    return vec4(colour, base.a * mb.opacity);
}
