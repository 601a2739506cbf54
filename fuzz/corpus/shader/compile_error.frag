1#version 330 compatibility
out vec4 colour;
void main() { colour = vec4(undeclared); }
