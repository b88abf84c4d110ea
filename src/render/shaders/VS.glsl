#version 330 core
// Interface geometry in clip units (pixel positions converted by the CPU,
// depth 0.5), vertex colour and texture coordinates.
layout(location = 0) in vec3 inPosition;
layout(location = 1) in vec4 inColour;
layout(location = 2) in vec2 inUv;

out ScreenData {
    vec4 colour;
    vec2 uv;
} vout;

#include "clip_depth.glsl"

void main() {
    gl_Position = toGlClip(vec4(inPosition, 1.0));
    vout.colour = inColour;
    vout.uv = inUv;
}
