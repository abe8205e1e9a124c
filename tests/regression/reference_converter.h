#ifndef POLVANE_TESTS_REFERENCE_CONVERTER_H
#define POLVANE_TESTS_REFERENCE_CONVERTER_H

#include <string>

// The slow, literal conversion that the regression test holds the converter to: line streams, a string stream
// per line, the C scan per corner, an ordered welding map and formatted stream output. It reads only
// well-formed OBJ text (every reference in range, every record complete, no normal of zero length); anything
// else is reported through `problem` and no output is produced. Generated normals leave out triangles without a
// direction, and a vertex whose sum has no direction gets the zero normal, as the converter does.
namespace reference {

struct Settings {
    float scale = 1.0f;
    float sScale = 1.0f;
    float tScale = 1.0f;
    unsigned char red = 255;
    unsigned char green = 255;
    unsigned char blue = 255;
    unsigned char alpha = 255;
    bool useNormals = true;
};

struct Output {
    std::string header;   // text of <stem>.h
    std::string source;   // text of <stem>.c
    std::string progress; // standard output of a successful run
};

// Converts the OBJ file at `objPath`, named on the command line as `typedPath`. Returns false with `problem`
// set when the reference cannot convert the file.
bool Convert(const std::string& objPath, const std::string& typedPath, const Settings& settings, Output* output,
             std::string* problem);

} // namespace reference

#endif
