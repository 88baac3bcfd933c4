// Turns the camera's picture properties into a colour transform: per-channel tables for
// brightness, contrast, gamma, white balance, backlight compensation, gain and low-light boost,
// and a chroma rotation and scale for hue, saturation and colour enable. Sharpness is applied by
// the generator; the power-line setting does not change the generated picture.
#pragma once

#include "VcamLayout.h"

namespace vcam {

class PictureAdjuster {
public:
    PictureAdjuster();

    void configure(const CameraRecord& camera);
    // In place, on 0x00RRGGBB pixels.
    void apply(DWORD* pixels, size_t count) const;

private:
    double normalized(const CameraRecord& camera, LONG id) const;

    BYTE m_table[3][256];        // blue, green, red
    bool m_chromaIdentity;
    int m_chroma[2][2];          // fixed point 1.0 = 4096, on (Cb, Cr)
};

} // namespace vcam
