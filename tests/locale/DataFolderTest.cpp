// The installation's data folder: the two still pictures the panel can send instead of the camera,
// in English and, with German words, in data\de, in the form the panel loads them, and no frame
// pictures (those are the user's own).
#include "TestPaths.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(DataFolderTest, HoldsFourDifferentStillPicturesTwoInEachLanguageAndNoFrames)
{
    std::vector<BYTE> pixels[4];
    const wchar_t* names[] = {L"data\\stil01.bmp", L"data\\stil02.bmp", L"data\\de\\stil01.bmp",
                              L"data\\de\\stil02.bmp"};
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        // As the panel loads it: from the file, at its own size, as a section to read back.
        HBITMAP hBitmap = static_cast<HBITMAP>(LoadImageW(nullptr, kivotest::stageFile(names[i]).c_str(),
                                                          IMAGE_BITMAP, 0, 0,
                                                          LR_LOADFROMFILE | LR_CREATEDIBSECTION));
        ASSERT_NE(nullptr, hBitmap) << "error " << GetLastError();
        DIBSECTION dib = {};
        ASSERT_EQ(static_cast<int>(sizeof dib), GetObjectW(hBitmap, sizeof dib, &dib));
        EXPECT_EQ(320, dib.dsBm.bmWidth);
        EXPECT_EQ(240, dib.dsBm.bmHeight);
        EXPECT_EQ(24, dib.dsBm.bmBitsPixel);
        if (dib.dsBm.bmBits) {
            const BYTE* bits = static_cast<const BYTE*>(dib.dsBm.bmBits);
            pixels[i].assign(bits, bits + dib.dsBm.bmWidthBytes * dib.dsBm.bmHeight);
        }
        DeleteObject(hBitmap);
    }
    // Each picture its own: the German ones carry other words than the English ones.
    for (int i = 0; i < 4; ++i) {
        ASSERT_FALSE(pixels[i].empty()) << i;
        for (int j = i + 1; j < 4; ++j)
            EXPECT_NE(pixels[i], pixels[j]) << "stills " << i << " and " << j << " are the same picture";
    }

    WIN32_FIND_DATAW found;
    HANDLE hFind = FindFirstFileW(kivotest::stageFile(L"data\\frame*.bmp").c_str(), &found);
    EXPECT_EQ(INVALID_HANDLE_VALUE, hFind) << "a frame picture ships in the data folder";
    if (hFind != INVALID_HANDLE_VALUE)
        FindClose(hFind);
}

} // namespace
