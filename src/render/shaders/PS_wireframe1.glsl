#version 330 core
// Selected-face highlight: flat; the first per-draw value when set, else a
// translucent orange.
in MeshData {
    vec3 worldPos;
    vec3 normal;
    vec2 uv0;
    vec2 uv1;
    vec4 colour;
    vec3 faceNormal;
    vec3 tangent;
    vec3 bitangent;
} fin;

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

out vec4 outColour;

void main() {
    outColour = mb.drawParameters[0].a > 0.0 ? mb.drawParameters[0] : vec4(1.0, 0.5, 0.0, 0.5);
}
