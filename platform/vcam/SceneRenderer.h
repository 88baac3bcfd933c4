// The scene the virtual camera looks at, drawn with GDI: a face for the front direction (the lens
// looks at the user), a landscape for the rear, each with a colour bar strip and its name.
#pragma once

#include <windows.h>

#include <vector>

namespace vcam {

class SceneRenderer {
public:
    // 0x00RRGGBB pixels, top-down rows of width pixels; cached until size, direction or mirroring
    // change. Empty when GDI fails.
    const std::vector<DWORD>& scene(LONG width, LONG height, LONG direction, bool mirrored);

private:
    bool draw(LONG width, LONG height, LONG direction);
    void mirror(LONG width, LONG height);

    std::vector<DWORD> m_pixels;
    LONG m_width = 0;
    LONG m_height = 0;
    LONG m_direction = -1;
    bool m_mirrored = false;
};

} // namespace vcam
