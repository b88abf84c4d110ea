#version 330 core
// The normal-mapped variant: texture slot 1 is always the normal map.

#include "mesh_shading.glsl"

void main() {
    outColour = shade(surfaceNormal(true, fin.uv0), true);
}
