#version 330 core
// A mesh laid out in texture space inside the UV view rectangle of the
// MaterialBlock (pixels, y down): u, v in 0..1 cover the rectangle.
layout(location = 0) in vec3 inPosition;
layout(location = 4) in vec2 inUv0;

out LineData {
    vec4 colour;
} vout;

layout(std140) uniform MaterialBlock {
    float opacity;
    float specularPower;
    float specularStrength;
    float bumpStrength;
    float reflection;
    float scale;
    float fresnelBase;
    float constant1;
    float constant2;
    float constant3;
    float ambientFloor;
    float targetWidth;
    vec4 diffuse;
    vec4 emissive;
    vec4 specular;
    vec4 stateColour;
    vec4 centre;
    mat4 viewOrProjector;
    vec4 highlight;
    vec4 drawParameters[6];
    mat4 mirrorOrShadow;
    float targetHeight;
    float objectScalar0;
    float objectScalar1;
    float objectScalar2;
    float objectScalar3;
    int uvRectX;
    int uvRectY;
    int uvRectWidth;
    int uvRectHeight;
    int mirrorSign;
    int lightPass;
    int mirrorPass;
    int highlightOn;
    int reflective;
    int reflectiveAlternate;
    int normalMap;
    int environment;
    int shadowMap;
    int unlit;
    int mirrorImages;
    int alphaTest;
    int useTexture1;
    int useTexture2;
    int useTexture3;
    ivec4 switchesA;
    ivec4 switchesB;
    int switch8;
    int switch9;
    float halfScalar;
    float scalarA;
    float scalarDifference;
    float pad0;
    float pad1;
    float pad2;
    vec4 pad3;
} mb;

// Clip-space depth arrives as 0..1 (the CPU projections); GL wants -1..1
// unless the context runs with zero-to-one clip control.
vec4 toGlClip(vec4 c) {
#if MORVANEX_DEPTH_REMAP
    c.z = 2.0 * c.z - c.w;
#endif
    return c;
}

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
