// The one whole-file reader: every file the demo and its tools read in one piece (scripts, shader
// stages, textures) comes through here.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

// Reads the file at `path` into `out`. False when the path is a directory (those open as streams on
// Linux), cannot be opened or sized, is longer than maxBytes, or needs more memory than can be had.
// A file that shrinks while it is read yields the bytes that were there.
bool readWholeFile(const std::string& path, std::vector<uint8_t>& out, uint64_t maxBytes = UINT64_MAX);
