#version 330 core
// Textured interface quads: vertex colour times the image.
in ScreenData {
    vec4 colour;
    vec2 uv;
} fin;

uniform sampler2D uImage;
out vec4 outColour;

void main() {
    outColour = fin.colour * texture(uImage, fin.uv);
}
