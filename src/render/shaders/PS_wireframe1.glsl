#version 330 core
// Selected-face highlight: flat; the first per-draw value when set, else a
// translucent orange.
#include "mesh_fragment_input.glsl"

#include "material_block.glsl"

out vec4 outColour;

void main() {
    outColour = mb.drawParameters[0].a > 0.0 ? mb.drawParameters[0] : vec4(1.0, 0.5, 0.0, 0.5);
}
