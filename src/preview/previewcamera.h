#ifndef POLVANE_PREVIEWCAMERA_H
#define POLVANE_PREVIEWCAMERA_H

#include <vector>

#include "console/consoleplan.h"

// A point on the picture: x to the right and y down in pixels, and the inverse of its distance in front of the
// camera (larger is nearer); invDepth is 0 or less for points at or behind the camera.
struct ScreenPoint {
    float x, y, invDepth;
};

// A perspective camera (40 degrees vertical field of view, square pixels) looking at the model, by default from a
// three-quarter view: 35 degrees round from +Z toward +X, 25 degrees above the horizon, Y up. Seen from straight
// above or below, -Z or +Z is up in the picture.
class PreviewCamera {
public:
    // Frames the box of the rows' positions: the camera stands where the box's eight corners fill at most 90% of
    // the picture's width and height, then the picture is zoomed and centred so that the rows themselves fill
    // 90% of its width or height. No rows frame a small box at the origin.
    PreviewCamera(const std::vector<VertexRow>& rows, int width, int height, float azimuthDegrees = 35.0f,
                  float elevationDegrees = 25.0f);

    ScreenPoint Project(const float position[3]) const;

    // The example game's light direction (0x49, 0x49, 0x49) taken in the camera's frame (x right, y up, z toward
    // the viewer), as a unit vector in the model's space: the light comes from above, right and in front of
    // the viewer, as it does for the example game's camera, which looks along -Z.
    void LightDirection(float direction[3]) const;

private:
    void FitRows(const std::vector<VertexRow>& rows, int width, int height);

    float eye[3];
    float right[3], up[3], forward[3];
    float focal;
    float centreX, centreY;
};

#endif
