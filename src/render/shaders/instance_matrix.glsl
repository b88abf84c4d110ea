// The placement of one drawn copy, from the instance record's matrix rows
// (inInstance0..3, declared by the including stage); an all-zero matrix (a
// fresh record, or no instance buffer) is the identity.
mat4 instanceMatrix() {
    vec3 used = abs(inInstance0.xyz) + abs(inInstance1.xyz) + abs(inInstance2.xyz);
    if (used.x + used.y + used.z == 0.0) return mat4(1.0);
    // The rows of the CPU matrix: as GLSL columns they give a matrix N with
    // p * M == N * p; transposing gives M itself.
    return transpose(mat4(inInstance0, inInstance1, inInstance2, inInstance3));
}
