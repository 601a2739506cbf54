// The one whole-file reader: every file the demo and its tools read in one piece (scripts, shader
// stages, textures, OBJ meshes) comes through here. Only regular files are read: a directory, a
// FIFO, a socket or a device counts as a file that cannot be read, so no reader waits for a writer
// or takes an endless stream, and no device is opened. Every read has a bound, checked against the
// file's size before any memory is taken.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

// The bound of a read that names none: above every file the demo and its tools read.
constexpr uint64_t kMaxFileBytes = uint64_t(1) << 30;

// Whether `path` names a regular file of at most maxBytes that opens for reading, as readWholeFile
// would read it (without reading it).
bool fileReadable(const std::string& path, uint64_t maxBytes = kMaxFileBytes);

// Reads the file at `path` into `out`. False when the path is not a regular file, cannot be opened
// or read, is longer than maxBytes, or needs more memory than can be had. The bytes the file had
// when it was opened are read: a file that shrinks while it is read yields the bytes that were
// there, one that grows is read up to its size at the open.
bool readWholeFile(const std::string& path, std::vector<uint8_t>& out, uint64_t maxBytes = kMaxFileBytes);
