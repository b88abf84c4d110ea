#version 330 core
// Prepares the per-triangle normal and tangent frame for the pixel stage.
layout(triangles) in;
layout(triangle_strip, max_vertices = 3) out;

in MeshData {
    vec3 worldPos;
    vec3 normal;
    vec2 uv0;
    vec2 uv1;
    vec4 colour;
    vec3 faceNormal;
    vec3 tangent;
    vec3 bitangent;
} gin[];
out MeshData {
    vec3 worldPos;
    vec3 normal;
    vec2 uv0;
    vec2 uv1;
    vec4 colour;
    vec3 faceNormal;
    vec3 tangent;
    vec3 bitangent;
} gout;

#include "triangle_frame.glsl"

void main() {
    vec3 faceNormal;
    vec3 tangent;
    vec3 bitangent;
    triangleFrame(faceNormal, tangent, bitangent);
    for (int i = 0; i < 3; ++i) {
        gl_Position = gl_in[i].gl_Position;
        copyVertex(i, faceNormal, tangent, bitangent);
        EmitVertex();
    }
    EndPrimitive();
}
