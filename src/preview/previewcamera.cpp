#include "preview/previewcamera.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr float pi = 3.14159265f;
constexpr float verticalFieldOfView = 40.0f * pi / 180.0f;
constexpr float filled = 0.9f;

float Dot(const float a[3], const float b[3]) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }

} // namespace

PreviewCamera::PreviewCamera(const std::vector<VertexRow>& rows, int width, int height, float azimuthDegrees,
                             float elevationDegrees)
{
    // Straight above or below, the camera leans a little toward +Z so that "right" stays defined.
    const float azimuth = azimuthDegrees * pi / 180.0f;
    const float elevation = std::max(-89.9f, std::min(89.9f, elevationDegrees)) * pi / 180.0f;
    float low[3] = {-1, -1, -1}, high[3] = {1, 1, 1};
    if (!rows.empty()) {
        for (int c = 0; c < 3; ++c) {
            low[c] = high[c] = rows[0].position[c];
        }
        for (const VertexRow& row : rows) {
            for (int c = 0; c < 3; ++c) {
                low[c] = std::min(low[c], float(row.position[c]));
                high[c] = std::max(high[c], float(row.position[c]));
            }
        }
    }
    float centre[3], radius = 0;
    for (int c = 0; c < 3; ++c) {
        centre[c] = (low[c] + high[c]) / 2;
        radius += (high[c] - low[c]) * (high[c] - low[c]) / 4;
    }
    radius = std::max(std::sqrt(radius), 1.0f);

    // The camera looks from the direction `back` toward the centre.
    const float back[3] = {std::cos(elevation) * std::sin(azimuth), std::sin(elevation),
                           std::cos(elevation) * std::cos(azimuth)};
    for (int c = 0; c < 3; ++c) {
        forward[c] = -back[c];
    }
    // right = forward x (0, 1, 0), up = right x forward
    const float rightLength = std::sqrt(forward[2] * forward[2] + forward[0] * forward[0]);
    right[0] = -forward[2] / rightLength;
    right[1] = 0;
    right[2] = forward[0] / rightLength;
    up[0] = right[1] * forward[2] - right[2] * forward[1];
    up[1] = right[2] * forward[0] - right[0] * forward[2];
    up[2] = right[0] * forward[1] - right[1] * forward[0];

    focal = float(height) / 2 / std::tan(verticalFieldOfView / 2);
    centreX = float(width) / 2;
    centreY = float(height) / 2;

    // The nearest distance from the centre at which every corner projects inside the filled part of the
    // picture, and stays well in front of the camera.
    float distance = radius * 1.5f;
    for (int corner = 0; corner < 8; ++corner) {
        const float point[3] = {(corner & 1) ? high[0] : low[0], (corner & 2) ? high[1] : low[1],
                                (corner & 4) ? high[2] : low[2]};
        float offset[3];
        for (int c = 0; c < 3; ++c) {
            offset[c] = point[c] - centre[c];
        }
        const float depth = Dot(offset, forward);
        distance = std::max(distance, std::fabs(Dot(offset, right)) * focal / (filled * centreX) - depth);
        distance = std::max(distance, std::fabs(Dot(offset, up)) * focal / (filled * centreY) - depth);
    }
    for (int c = 0; c < 3; ++c) {
        eye[c] = centre[c] + back[c] * distance;
    }
    FitRows(rows, width, height);
}

void PreviewCamera::FitRows(const std::vector<VertexRow>& rows, int width, int height)
{
    float low[2] = {0, 0}, high[2] = {0, 0};
    for (size_t i = 0; i < rows.size(); ++i) {
        const float offset[3] = {rows[i].position[0] - eye[0], rows[i].position[1] - eye[1],
                                 rows[i].position[2] - eye[2]};
        const float depth = Dot(offset, forward);
        const float along[2] = {Dot(offset, right) / depth, Dot(offset, up) / depth};
        for (int c = 0; c < 2; ++c) {
            low[c] = i == 0 ? along[c] : std::min(low[c], along[c]);
            high[c] = i == 0 ? along[c] : std::max(high[c], along[c]);
        }
    }
    const float spanX = high[0] - low[0], spanY = high[1] - low[1];
    if (!(spanX > 0 || spanY > 0)) {
        return;
    }
    const float fitX = spanX > 0 ? filled * float(width) / spanX : 1e30f;
    const float fitY = spanY > 0 ? filled * float(height) / spanY : 1e30f;
    focal = std::min(fitX, fitY);
    centreX = float(width) / 2 - focal * (low[0] + high[0]) / 2;
    centreY = float(height) / 2 + focal * (low[1] + high[1]) / 2;
}

void PreviewCamera::LightDirection(float direction[3]) const
{
    const float component = 0.57735027f;  // each of (0x49, 0x49, 0x49) normalised
    for (int c = 0; c < 3; ++c) {
        direction[c] = component * (right[c] + up[c] - forward[c]);
    }
}

ScreenPoint PreviewCamera::Project(const float position[3]) const
{
    const float offset[3] = {position[0] - eye[0], position[1] - eye[1], position[2] - eye[2]};
    const float depth = Dot(offset, forward);
    if (depth <= 0) {
        return ScreenPoint{0, 0, 0};
    }
    const float invDepth = 1 / depth;
    return ScreenPoint{centreX + Dot(offset, right) * focal * invDepth, centreY - Dot(offset, up) * focal * invDepth,
                       invDepth};
}
