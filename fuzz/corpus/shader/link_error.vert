0#version 330 compatibility
void helper();
void main() { helper(); gl_Position = vec4(0.0); }
