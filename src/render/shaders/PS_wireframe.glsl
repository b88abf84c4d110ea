#version 330 core
// Edge overlays: the object's highlight colour of the previous frame, flat.
#include "mesh_fragment_input.glsl"

#include "material_block.glsl"

out vec4 outColour;

void main() {
    outColour = mb.highlight;
}
