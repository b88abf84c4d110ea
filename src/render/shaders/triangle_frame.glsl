// Shared by the geometry programs of lit meshes.
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
