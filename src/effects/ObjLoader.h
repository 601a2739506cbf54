// Loads an OBJ file into a Model: parses it (ObjParse.h), then uploads the vertices into a new
// vertex buffer laid out for the model's current shader program and marks the model loaded.
#pragma once
#include <string>
#include <vector>

class Model;

// True when the file gave at least one triangle and it was uploaded. A missing file fails
// silently; a file without usable faces prints "Couldn't load FILE". A failed load leaves the
// model as it was; a successful one replaces the mesh of an earlier load.
bool loadObj(Model& model, const char* fileName);

// With the memory on, every mesh that loads is remembered by file name, and a later load of that
// file that fails (a file being rewritten) uploads the remembered mesh instead; every file name
// asked for is kept too (namedMeshFiles). Off by default; turning it off forgets both.
void setMeshMemory(bool on);
// While the memory is on: every file name loadObj was asked for, whether it loaded or not.
std::vector<std::string> namedMeshFiles();
