#version 330 core
// Lit meshes: the instance placement of a copy (in the object's own frame),
// then skinning from the bone palette (four weights and bone numbers per
// vertex; an unskinned object has its world matrix in entry 0), then view
// and projection.

layout(location = 0) in vec3 inPosition;
layout(location = 1) in vec4 inWeights;
layout(location = 2) in uvec4 inBones;   // 0xFFFFFFFF: no bone
layout(location = 3) in vec3 inNormal;
layout(location = 4) in vec2 inUv0;
layout(location = 5) in vec2 inUv1;
layout(location = 6) in vec4 inInstance0;  // instance matrix, rows 0..3
layout(location = 7) in vec4 inInstance1;
layout(location = 8) in vec4 inInstance2;
layout(location = 9) in vec4 inInstance3;
layout(location = 10) in vec4 inInstanceColour;

out MeshData {
    vec3 worldPos;
    vec3 normal;
    vec2 uv0;
    vec2 uv1;
    vec4 colour;
    vec3 faceNormal;
    vec3 tangent;
    vec3 bitangent;
} vout;

// Matrices are the CPU's row-vector matrices: points multiply on the left.
#include "transform_block.glsl"

// A program made for unskinned objects defines this 0 and leaves the bone
// walk out (drivers run untaken branches too).
#ifndef MORVANEX_HAS_SKIN
#define MORVANEX_HAS_SKIN 1
#endif

layout(std140) uniform BonePalette {
    mat4 bones[60];
} bp;

layout(std140) uniform AnimatedTextureBlock {
    vec4 uvTransform[3];  // xy scale, zw offset
    float frame;
    float frameCount;
    float time;
    int enabled;
    vec4 reserved[2];
} ab;

#include "clip_depth.glsl"

// Applied before the object's own transform.
#include "instance_matrix.glsl"

void main() {
    vec4 p = vec4(inPosition, 1.0);
    vec4 n = vec4(inNormal, 0.0);
    // Copy 0 is the object itself: nothing to look up.
    if (gl_InstanceID != 0) {
        mat4 placement = instanceMatrix();
        p = p * placement;
        n = n * placement;
    }
    vec3 skinned = vec3(0.0);
    vec3 normal = vec3(0.0);
    float total = 0.0;
    // Only a skinned object (flag 0) looks its vertices' bones up; every
    // other one follows its world matrix.
    if (MORVANEX_HAS_SKIN != 0 && tb.objectFlag0 != 0) {
        for (int i = 0; i < 4; ++i) {
            uint bone = inBones[i];
            float w = inWeights[i];
            if (bone < 60u && w != 0.0) {
                mat4 m = bp.bones[bone];
                skinned += w * (p * m).xyz;
                normal += w * (n * m).xyz;
                total += w;
            }
        }
    }
    vec4 world;
    if (total != 0.0) {
        skinned /= total;  // weights are not normalised by the tools
        world = vec4(skinned, 1.0);
        gl_Position = toGlClip(world * tb.view * tb.projection);
    } else {
        world = p * tb.world;
        normal = (n * tb.world).xyz;
        gl_Position = toGlClip(p * tb.worldViewProj);  // one product instead of three
    }
    vout.worldPos = world.xyz;
    vout.normal = normal;
    vec2 uv0 = inUv0;
    vec2 uv1 = inUv1;
    if (ab.enabled != 0) {
        uv0 = uv0 * ab.uvTransform[0].xy + ab.uvTransform[0].zw;
        uv1 = uv1 * ab.uvTransform[2].xy + ab.uvTransform[2].zw;
    }
    vout.uv0 = uv0;
    vout.uv1 = uv1;
    vout.colour = vec4(1.0);
    vout.faceNormal = normal;
    vout.tangent = vec3(0.0);
    vout.bitangent = vec3(0.0);
}
