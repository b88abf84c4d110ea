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

// Clip-space depth arrives as 0..1 (the CPU projections); GL wants -1..1
// unless the context runs with zero-to-one clip control.
vec4 toGlClip(vec4 c) {
#if MORVANEX_DEPTH_REMAP
    c.z = 2.0 * c.z - c.w;
#endif
    return c;
}

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
