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

// Per-triangle values: the face normal (clockwise front faces in our
// left-handed space) and the tangent frame of the texture coordinates.
void triangleFrame(out vec3 faceNormal, out vec3 tangent, out vec3 bitangent) {
    vec3 e1 = gin[1].worldPos - gin[0].worldPos;
    vec3 e2 = gin[2].worldPos - gin[0].worldPos;
    vec3 n = cross(e1, e2);
    faceNormal = dot(n, n) > 0.0 ? normalize(n) : vec3(0.0, 0.0, -1.0);
    vec2 d1 = gin[1].uv0 - gin[0].uv0;
    vec2 d2 = gin[2].uv0 - gin[0].uv0;
    float det = d1.x * d2.y - d2.x * d1.y;
    if (abs(det) < 1e-12) {
        tangent = vec3(0.0);
        bitangent = vec3(0.0);
        return;
    }
    float r = 1.0 / det;
    tangent = (e1 * d2.y - e2 * d1.y) * r;    // along +u
    bitangent = (e2 * d1.x - e1 * d2.x) * r;  // along +v (down the image)
}

void copyVertex(int i, vec3 faceNormal, vec3 tangent, vec3 bitangent) {
    gout.worldPos = gin[i].worldPos;
    gout.normal = dot(gin[i].normal, gin[i].normal) > 0.0 ? gin[i].normal : faceNormal;
    gout.uv0 = gin[i].uv0;
    gout.uv1 = gin[i].uv1;
    gout.colour = gin[i].colour;
    gout.faceNormal = faceNormal;
    gout.tangent = tangent;
    gout.bitangent = bitangent;
}

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
