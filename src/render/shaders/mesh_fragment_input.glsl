// What the mesh programs hand their pixel stage.
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
