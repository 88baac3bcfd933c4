// One frame of the camera's picture in the requested format: the scene for the camera's
// direction, a bar that moves with the frame number, the picture properties applied.
#pragma once

#include "FrameFormat.h"
#include "PictureAdjuster.h"
#include "SceneRenderer.h"

#include <vector>

namespace vcam {

class PictureGenerator {
public:
    // Takes the camera's current direction, properties and custom settings.
    void configure(const CameraRecord& camera);
    // Writes format.imageBytes() bytes to out; false when the scene cannot be drawn.
    bool render(const FrameFormat& format, DWORD frameNumber, BYTE* out);

private:
    PictureAdjuster m_adjuster;
    SceneRenderer m_scene;
    std::vector<DWORD> m_work;
    std::vector<DWORD> m_row;
    LONG m_direction = 0;
    bool m_mirrored = false;
    int m_sharpness = 0;   // steps from the default; negative softens
};

// Converts top-down 0x00RRGGBB pixels to the frame format's layout.
void convertPixels(const DWORD* pixels, const FrameFormat& format, BYTE* out);

} // namespace vcam
