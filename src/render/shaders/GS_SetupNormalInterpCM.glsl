#version 330 core
// Single-pass cube map: each triangle goes to the six layers of the cube
// target through its face view. Images are flipped in y (face rows run from
// the top, as cube images do) and the corners emitted in reverse so the
// winding, and with it culling, stays as on screen.
layout(triangles) in;
layout(triangle_strip, max_vertices = 18) out;

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

// The six face views (+x, -x, +y, -y, +z, -z) and the projection.
layout(std140) uniform CubeBlock {
    mat4 faceViews[6];
    mat4 projection;
} cb;

#include "clip_depth.glsl"

#include "triangle_frame.glsl"

void main() {
    vec3 faceNormal;
    vec3 tangent;
    vec3 bitangent;
    triangleFrame(faceNormal, tangent, bitangent);
    for (int face = 0; face < 6; ++face) {
        for (int k = 0; k < 3; ++k) {
            int i = k == 0 ? 0 : 3 - k;
            vec4 clip = vec4(gin[i].worldPos, 1.0) * cb.faceViews[face] * cb.projection;
            clip.y = -clip.y;
            gl_Position = toGlClip(clip);
            gl_Layer = face;
            copyVertex(i, faceNormal, tangent, bitangent);
            EmitVertex();
        }
        EndPrimitive();
    }
}
