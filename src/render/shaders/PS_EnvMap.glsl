#version 330 core
// Lit, textured meshes: Blinn-Phong over up to 32 lights, up to three
// material textures, normal mapping when the material asks for it, the
// environment cube as ambient light.

#include "mesh_shading.glsl"

void main() {
    bool bumped = mb.normalMap != 0 && mb.useTexture1 != 0;
    outColour = shade(surfaceNormal(bumped, fin.uv0), bumped);
}
