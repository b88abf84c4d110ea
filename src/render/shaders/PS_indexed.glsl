#version 330 core
// Vertex markers: the flat instance colour.
in IndexedData {
    vec4 colour;
    vec2 uv;
} fin;

out vec4 outColour;

void main() {
    outColour = fin.colour;
}
