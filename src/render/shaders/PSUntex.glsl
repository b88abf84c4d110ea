#version 330 core
// Untextured interface drawing: the vertex colour.
in ScreenData {
    vec4 colour;
    vec2 uv;
} fin;

out vec4 outColour;

void main() {
    outColour = fin.colour;
}
