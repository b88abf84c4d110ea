#version 330 core
// The second world-line stage (always drawn as a strip): same vertices.

layout(location = 0) in vec3 inPosition;
layout(location = 1) in vec4 inColour;

out LineData {
    vec4 colour;
} vout;
out vec3 vWorldPos;  // read by the cube-map line stage

// Matrices are the CPU's row-vector matrices: points multiply on the left.
#include "transform_block.glsl"

#include "clip_depth.glsl"

void main() {
    gl_Position = toGlClip(vec4(inPosition, 1.0) * tb.worldViewProj);
    vWorldPos = (vec4(inPosition, 1.0) * tb.world).xyz;
    vout.colour = inColour;
}
