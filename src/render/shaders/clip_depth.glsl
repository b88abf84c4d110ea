// Clip-space depth arrives as 0..1 (the CPU projections); GL wants -1..1
// unless the context runs with zero-to-one clip control.
vec4 toGlClip(vec4 c) {
#if MORVANEX_DEPTH_REMAP
    c.z = 2.0 * c.z - c.w;
#endif
    return c;
}
