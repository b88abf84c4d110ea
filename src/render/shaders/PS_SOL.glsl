#version 330 core
// Coloured lines and the UV view: the interpolated colour.
in LineData {
    vec4 colour;
} fin;

out vec4 outColour;

void main() {
    outColour = fin.colour;
}
