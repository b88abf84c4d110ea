#version 330 core
// Vertex markers and editor objects: the object's world matrix, then each
// instance's placement; the instance colour goes to the pixel stage.

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

out IndexedData {
    vec4 colour;
    vec2 uv;
} vout;

// Matrices are the CPU's row-vector matrices: points multiply on the left.
#include "transform_block.glsl"

#include "clip_depth.glsl"

// Applied after the object's own transform.
#include "instance_matrix.glsl"

void main() {
    vec4 world = vec4(inPosition, 1.0) * tb.world * instanceMatrix();
    gl_Position = toGlClip(world * tb.view * tb.projection);
    vout.colour = inInstanceColour;
    vout.uv = inUv0;
}
