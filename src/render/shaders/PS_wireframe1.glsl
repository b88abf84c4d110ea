#version 330 core
// Selected-face highlight: flat; the first per-draw value when set, else a
// translucent orange.
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
    outColour = mb.drawParameters[0].a > 0.0 ? mb.drawParameters[0] : vec4(1.0, 0.5, 0.0, 0.5);
}
