// The per-draw transform block, shared by the programs that place objects.
// Matrices are the CPU's row-vector matrices: points multiply on the left.
layout(std140) uniform TransformBlock {
    mat4 worldViewProj;
    mat4 worldView;
    mat4 world;
    mat4 view;
    mat4 projection;
    mat4 second;
    vec3 eyePosition;
    float eyePad;
    int extraInstances;
    int objectFlag0;
    int objectFlag1;
    int objectFlag2;
    mat4 extra0;
    mat4 extra1;
} tb;
