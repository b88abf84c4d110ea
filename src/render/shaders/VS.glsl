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

// Clip-space depth arrives as 0..1 (the CPU projections); GL wants -1..1
// unless the context runs with zero-to-one clip control.
vec4 toGlClip(vec4 c) {
#if MORVANEX_DEPTH_REMAP
    c.z = 2.0 * c.z - c.w;
#endif
    return c;
}

void main() {
    gl_Position = toGlClip(vec4(inPosition, 1.0));
    vout.colour = inColour;
    vout.uv = inUv;
}
