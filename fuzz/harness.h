#ifndef POLVANE_FUZZ_HARNESS_H
#define POLVANE_FUZZ_HARNESS_H

// The checks behind the fuzz targets, shared with the corpus replay test. Each takes one input as raw bytes and
// returns an empty string when every property holds, otherwise a description of the first one broken.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "console/cachelayout.h"

class ObjFile;

// Loads the bytes as an OBJ file (error lines discarded); read in pieces of a few bytes, it must load the same and
// report the same. A model that loads must be well formed: at least one
// vertex, a whole number of triangles, every index below the vertex count, vertex numbers given in order of
// first appearance with none unused, and generated normals finite and of unit length or zero.
std::string CheckLoader(const uint8_t* data, size_t size);

// Loads the bytes as an OBJ file and replays the display list built for it over a vertex cache (16 slots, or
// another layout chosen by the input's bytes): the triangles drawn must be exactly the model's triangles with
// three distinct vertex numbers, in order. The cache optimizer's list, replayed the same way, must draw each of
// them once, in any order, with its winding. Every so often (a property of the input, so replays repeat it) the
// whole conversion is also written to scratchFolder.
std::string CheckDisplayList(const uint8_t* data, size_t size, const std::string& scratchFolder);

// Splits the bytes at NUL bytes into the arguments after the program name and runs the option parser on them.
// The argument array has no slot past its end, so a read beyond the argument list is caught by the address
// checker. What the parser prints must be whole usage texts or the version on one stream and at most one error
// line (or the negative-scale warning) on the other.
std::string CheckOptions(const uint8_t* data, size_t size);

// Reads the bytes as a material library after one read before. A failed read reports exactly one line
// "fuzz.mtl:<line>: <what>" with a line inside the input and leaves the earlier material as it was; a library
// that reads reports nothing and holds each name once, names and map file names trimmed and free of comments
// and line ends, every line number inside the input, finite values. The first line, as an "mtllib" line, names
// at most one library per word.
std::string CheckMaterialLibrary(const uint8_t* data, size_t size);

// The triangles the display list built for the model draws, found by simulating the vertex cache from the
// builder's commands; a broken command (a load past the cache or the vertex array, a slot never loaded) is
// reported in error.
std::vector<uint32_t> ReplayDisplayList(const ObjFile& model, const CacheLayout& layout, std::string& error);

#endif
