#version 330 core
// Line objects drawn into a cube map in one pass: every segment goes to
// the six layers, each through its face view. Images are flipped in y so
// that face rows run from the top, as cube images do.
layout(lines) in;
layout(line_strip, max_vertices = 12) out;

in LineData {
    vec4 colour;
} gin[];
in vec3 vWorldPos[];

out LineData {
    vec4 colour;
} gout;

// The six face views (+x, -x, +y, -y, +z, -z) and the projection.
layout(std140) uniform CubeBlock {
    mat4 faceViews[6];
    mat4 projection;
} cb;

#include "clip_depth.glsl"

void main() {
    for (int face = 0; face < 6; ++face) {
        for (int i = 0; i < 2; ++i) {
            vec4 clip = vec4(vWorldPos[i], 1.0) * cb.faceViews[face] * cb.projection;
            clip.y = -clip.y;
            gl_Position = toGlClip(clip);
            gl_Layer = face;
            gout.colour = gin[i].colour;
            EmitVertex();
        }
        EndPrimitive();
    }
}
