// A GDI bitmap as a source of pixels for the frame effects.
#pragma once

#include "BitmapSource.h"

#include <windows.h>

#include <cstdint>

class GdiBitmapSource : public kivo::effects::BitmapSource {
public:
    explicit GdiBitmapSource(HBITMAP hBitmap) : m_hBitmap(hBitmap) {}

    // The handle plus a fingerprint of the bitmap's size, depth, bits pointer and one row of its
    // pixels; false for a null, deleted or oversized bitmap.
    bool key(kivo::effects::BitmapKey& key) const override;
    // All pixels, top-down, 32 bits each, read with one GetDIBits.
    bool read(kivo::effects::SourceImage& image) const override;

private:
    bool describe(BITMAP& info) const;
    bool mixMiddleRow(uint64_t& hash, const BITMAP& info) const;

    HBITMAP m_hBitmap;
};
