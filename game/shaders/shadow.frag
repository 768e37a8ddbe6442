#version 150
// Depth only: the shadow map has no colour buffer, so nothing is written.

void main() {
}
