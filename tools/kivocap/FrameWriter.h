// Writes received frames to files: BMP as delivered (YUY2 converted to RGB), or PNG through the
// platform's image codecs (WIC).
#pragma once

#include "FrameFormat.h"

#include <wincodec.h>

#include <string>
#include <vector>

class FrameWriter {
public:
    FrameWriter();
    ~FrameWriter();

    // False with a message when PNG was asked for and WIC cannot be created.
    bool init(bool png, std::wstring& error);
    bool write(const std::wstring& path, const vcam::FrameFormat& format, const BYTE* data, std::wstring& error);

private:
    FrameWriter(const FrameWriter&) = delete;
    FrameWriter& operator=(const FrameWriter&) = delete;

    bool writeBmp(const std::wstring& path, const BITMAPINFOHEADER& header, const BYTE* pixels, DWORD bytes,
                  std::wstring& error);
    bool writePng(const std::wstring& path, LONG width, LONG height, const BYTE* topDownBgr, std::wstring& error);
    // Any frame as top-down 24-bit BGR rows padded to 4 bytes.
    void toTopDownBgr(const vcam::FrameFormat& format, const BYTE* data);

    bool m_png = false;
    bool m_comInitialised = false;
    IWICImagingFactory* m_factory = nullptr;
    std::vector<BYTE> m_bgr;
};
