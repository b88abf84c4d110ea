#version 330 core
// A mesh laid out in texture space inside the UV view rectangle of the
// MaterialBlock (pixels, y down): u, v in 0..1 cover the rectangle.
layout(location = 0) in vec3 inPosition;
layout(location = 4) in vec2 inUv0;

out LineData {
    vec4 colour;
} vout;

#include "material_block.glsl"

#include "clip_depth.glsl"

void main() {
    float width = max(mb.targetWidth, 1.0);
    float height = max(mb.targetHeight, 1.0);
    vec2 pixel = vec2(float(mb.uvRectX), float(mb.uvRectY)) +
                 inUv0 * vec2(float(mb.uvRectWidth), float(mb.uvRectHeight));
    vec2 ndc = vec2(2.0 * pixel.x / width - 1.0, 1.0 - 2.0 * pixel.y / height);
    gl_Position = toGlClip(vec4(ndc, 0.5, 1.0));
    // The first per-draw value picks the colour; white when it is unset.
    vout.colour = mb.drawParameters[0].a > 0.0 ? mb.drawParameters[0] : vec4(1.0);
}
