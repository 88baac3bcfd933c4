// ImageFactory: the library's own pictures, bound into this DLL as bitmap resources (generated at
// build time by images/make_images.py). Frames keep their colour key exactly when scaled; still
// pictures are scaled with the platform's halftone stretching.
#include "KivoLib.h"

#include "BmpFile.h"
#include "KeyedScaler.h"
#include "ThisModule.h"

#include <cstring>
#include <vector>

namespace {

const UINT kFirstFrameId = 10000;
const UINT kLastFrameId = 10005;
const UINT kStillPrivacyId = 102;
const UINT kStillBeRightBackId = 103;
const UINT kOverResolutionId = 150;
// Larger requests are refused rather than allocated.
const int kMaxSide = 8192;

bool isFrame(UINT id)
{
    return id >= kFirstFrameId && id <= kLastFrameId;
}

bool isKnown(UINT id)
{
    return isFrame(id) || id == kStillPrivacyId || id == kStillBeRightBackId || id == kOverResolutionId;
}

BITMAPINFO topDown32(int width, int height)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

// A new 24-bit DIB section, top-down, with a pointer to its pixels.
HBITMAP createDib24(int width, int height, BYTE** bits)
{
    BITMAPINFO info = topDown32(width, height);
    info.bmiHeader.biBitCount = 24;
    void* pixels = nullptr;
    HBITMAP hBitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
    *bits = static_cast<BYTE*>(pixels);
    return hBitmap;
}

bool readPixels(HBITMAP hBitmap, KeyedPixels& out)
{
    BITMAP bm = {};
    if (!GetObjectW(hBitmap, sizeof(bm), &bm) || bm.bmWidth <= 0 || bm.bmHeight <= 0)
        return false;
    out.width = bm.bmWidth;
    out.height = bm.bmHeight;
    out.pixels.assign(size_t(out.width) * out.height, 0);
    BITMAPINFO info = topDown32(out.width, out.height);
    HDC hdc = GetDC(nullptr);
    int rows = GetDIBits(hdc, hBitmap, 0, out.height, out.pixels.data(), &info, DIB_RGB_COLORS);
    ReleaseDC(nullptr, hdc);
    return rows == out.height;
}

HBITMAP writePixels(const KeyedPixels& picture)
{
    BYTE* bits = nullptr;
    HBITMAP hBitmap = createDib24(picture.width, picture.height, &bits);
    if (!hBitmap)
        return nullptr;
    size_t stride = size_t(kivo::dibStride(picture.width, 24));
    for (int y = 0; y < picture.height; ++y) {
        BYTE* row = bits + stride * y;
        const DWORD* source = &picture.pixels[size_t(y) * picture.width];
        for (int x = 0; x < picture.width; ++x) {
            row[3 * x] = BYTE(source[x]);
            row[3 * x + 1] = BYTE(source[x] >> 8);
            row[3 * x + 2] = BYTE(source[x] >> 16);
        }
    }
    GdiFlush();
    return hBitmap;
}

HBITMAP scaleFrame(HBITMAP hNatural, int width, int height)
{
    KeyedPixels natural;
    if (!readPixels(hNatural, natural))
        return nullptr;
    // The key as a 0x00RRGGBB pixel value.
    const DWORD key = (DWORD(GetRValue(KIVO_FRAME_COLOR_KEY)) << 16) | (DWORD(GetGValue(KIVO_FRAME_COLOR_KEY)) << 8)
                      | GetBValue(KIVO_FRAME_COLOR_KEY);
    KeyedPixels scaled = scaleKeyed(natural, width, height, key);
    return scaled.pixels.empty() ? nullptr : writePixels(scaled);
}

// The whole file, when it exists and is no larger than the largest picture accepted could be.
bool readWholeFile(LPCWSTR path, std::vector<uint8_t>& bytes)
{
    const ULONGLONG kMaxBytes = 1024 + 124 + 12 + 4096ull * 4096 * 4;
    HANDLE hFile = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return false;
    LARGE_INTEGER size = {};
    bool ok = GetFileSizeEx(hFile, &size) && ULONGLONG(size.QuadPart) <= kMaxBytes;
    if (ok) {
        bytes.resize(size_t(size.QuadPart));
        DWORD read = 0;
        ok = bytes.empty() || (ReadFile(hFile, bytes.data(), DWORD(bytes.size()), &read, nullptr) &&
                               read == bytes.size());
    }
    CloseHandle(hFile);
    return ok;
}

// The file's pixels drawn into a 24-bit DIB section, through a BITMAPINFO made of its checked parts.
HBITMAP bitmapOfFile(const std::vector<uint8_t>& file, const kivo::effects::BmpLayout& layout)
{
    std::vector<uint8_t> info(sizeof(BITMAPINFOHEADER));
    memcpy(info.data(), file.data() + kivo::effects::kBmpFileHeaderSize, info.size());
    BITMAPINFOHEADER* header = reinterpret_cast<BITMAPINFOHEADER*>(info.data());
    header->biSize = sizeof(BITMAPINFOHEADER);
    header->biSizeImage = 0;
    header->biClrUsed = layout.paletteColors;
    header->biClrImportant = 0;
    if (layout.masksOffset)
        info.insert(info.end(), file.begin() + layout.masksOffset, file.begin() + layout.masksOffset + 12);
    if (layout.paletteOffset)
        info.insert(info.end(), file.begin() + layout.paletteOffset,
                    file.begin() + layout.paletteOffset + size_t(layout.paletteColors) * 4);
    const int rows = layout.height < 0 ? -layout.height : layout.height;
    BYTE* bits = nullptr;
    HBITMAP hBitmap = createDib24(layout.width, rows, &bits);
    if (!hBitmap)
        return nullptr;
    HDC hdc = GetDC(nullptr);
    int copied = SetDIBits(hdc, hBitmap, 0, UINT(rows), file.data() + layout.pixelsOffset,
                           reinterpret_cast<BITMAPINFO*>(info.data()), DIB_RGB_COLORS);
    ReleaseDC(nullptr, hdc);
    if (copied != rows) {
        DeleteObject(hBitmap);
        return nullptr;
    }
    return hBitmap;
}

HBITMAP scaleHalftone(HBITMAP hNatural, int width, int height)
{
    BITMAP bm = {};
    if (!GetObjectW(hNatural, sizeof(bm), &bm))
        return nullptr;
    BYTE* bits = nullptr;
    HBITMAP hScaled = createDib24(width, height, &bits);
    if (!hScaled)
        return nullptr;
    HDC hdcSource = CreateCompatibleDC(nullptr);
    HDC hdcTarget = CreateCompatibleDC(nullptr);
    BOOL ok = FALSE;
    if (hdcSource && hdcTarget) {
        HGDIOBJ oldSource = SelectObject(hdcSource, hNatural);
        HGDIOBJ oldTarget = SelectObject(hdcTarget, hScaled);
        SetStretchBltMode(hdcTarget, HALFTONE);
        SetBrushOrgEx(hdcTarget, 0, 0, nullptr);
        ok = StretchBlt(hdcTarget, 0, 0, width, height, hdcSource, 0, 0, bm.bmWidth, bm.bmHeight, SRCCOPY);
        SelectObject(hdcTarget, oldTarget);
        SelectObject(hdcSource, oldSource);
    }
    if (hdcTarget)
        DeleteDC(hdcTarget);
    if (hdcSource)
        DeleteDC(hdcSource);
    if (!ok) {
        DeleteObject(hScaled);
        return nullptr;
    }
    return hScaled;
}

} // namespace

// (0, 0) gives the natural size; otherwise both sides must be positive and at most kMaxSide.
HBITMAP ImageFactory::CreateBitmap(UINT id, int width, int height)
{
    if (!isKnown(id))
        return nullptr;
    bool natural = width == 0 && height == 0;
    if (!natural && (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide))
        return nullptr;
    HBITMAP hNatural = static_cast<HBITMAP>(
        LoadImageW(thisModule(), MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (!hNatural) {
        WriteLog(L"ImageFactory::CreateBitmap() bitmap %u cannot be loaded (%lu).", id, GetLastError());
        return nullptr;
    }
    if (natural)
        return hNatural;
    HBITMAP hScaled = isFrame(id) ? scaleFrame(hNatural, width, height) : scaleHalftone(hNatural, width, height);
    DeleteObject(hNatural);
    return hScaled;
}

// The file is read once and checked whole before any of it reaches GDI, so a damaged picture is
// refused instead of shown as whatever the platform's loader makes of it.
HBITMAP ImageFactory::LoadBitmapFile(LPCWSTR path, int width, int height)
{
    bool natural = width == 0 && height == 0;
    if (!path || (!natural && (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide)))
        return nullptr;
    std::vector<uint8_t> file;
    kivo::effects::BmpLayout layout;
    if (!readWholeFile(path, file) || !kivo::effects::parseBmpFile(file.data(), file.size(), layout))
        return nullptr;
    HBITMAP hNatural = bitmapOfFile(file, layout);
    if (!hNatural || natural)
        return hNatural;
    HBITMAP hScaled = scaleFrame(hNatural, width, height);
    DeleteObject(hNatural);
    return hScaled;
}
