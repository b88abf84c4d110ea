#version 330 core
// Edge overlays: the object's highlight colour of the previous frame, flat.
in MeshData {
    vec3 worldPos;
    vec3 normal;
    vec2 uv0;
    vec2 uv1;
    vec4 colour;
    vec3 faceNormal;
    vec3 tangent;
    vec3 bitangent;
} fin;

#include "material_block.glsl"

out vec4 outColour;

void main() {
    outColour = mb.highlight;
}
