#version 330 core
// The reflective variant: the lit colour plus the environment cube along
// the reflected view ray, weighted by a Schlick Fresnel term whose base is
// the material's reflection amount (at least the Fresnel base constant).

#include "mesh_shading.glsl"

void main() {
    bool bumped = mb.normalMap != 0 && mb.useTexture1 != 0;
    vec3 n = surfaceNormal(bumped, fin.uv0);
    vec4 lit = shade(n, bumped);
    if (mb.lightPass != 0) {
        outColour = lit;
        return;
    }
    vec3 v = tb.eyePosition - fin.worldPos;
    v = dot(v, v) > 0.0 ? normalize(v) : -n;
    vec3 r = reflect(-v, n);
    // No cube bound reads as black.
    vec3 env = MORVANEX_HAS_ENVIRONMENT != 0 ? texture(uEnvironment, r).rgb * mb.specular.rgb : vec3(0.0);
    float f0 = clamp(max(mb.reflection, mb.fresnelBase), 0.0, 1.0);
    float fresnel = f0 + (1.0 - f0) * pow(1.0 - max(dot(n, v), 0.0), 5.0);
    outColour = vec4(mix(lit.rgb, env, fresnel), lit.a);
}
