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

// Clip-space depth arrives as 0..1 (the CPU projections); GL wants -1..1
// unless the context runs with zero-to-one clip control.
vec4 toGlClip(vec4 c) {
#if MORVANEX_DEPTH_REMAP
    c.z = 2.0 * c.z - c.w;
#endif
    return c;
}

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
