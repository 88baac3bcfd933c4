// The library's own modal property dialog: one slider per property the camera offers, applied to
// the camera as it moves; Cancel puts back the values the camera had when the dialog opened.
#pragma once

#include "KivoLib.h"

class CameraPropertyDialog {
public:
    CameraPropertyDialog(ICameraPropertySettings& settings, DWORD cameraIndex);

    // Runs the dialog; false when it could not be shown.
    bool run(HWND hOwner);

private:
    static constexpr int kRows = 10;

    struct Row {
        bool offered = false;
        long min = 0, max = 0, step = 1, def = 0, caps = 0;
        long original = 0, originalFlags = 0;
    };

    static INT_PTR CALLBACK dialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    BOOL onInitDialog(HWND hwnd);
    void onHScroll(HWND hSlider);
    void onDefaults();
    void onCancel();
    void showRow(int id, long value);
    void closeUpHiddenRows();

    ICameraPropertySettings& m_settings;
    DWORD m_cameraIndex;
    HWND m_hwnd = nullptr;
    Row m_rows[kRows];
};
