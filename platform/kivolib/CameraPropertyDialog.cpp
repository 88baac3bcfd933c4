#include "CameraPropertyDialog.h"

#include "CameraPropertyDialogIds.h"
#include "ThisModule.h"

#include <commctrl.h>

#include <cstdio>

namespace {

long snapToStep(long value, long min, long step)
{
    if (step <= 1)
        return value;
    return min + (value - min + step / 2) / step * step;
}

} // namespace

CameraPropertyDialog::CameraPropertyDialog(ICameraPropertySettings& settings, DWORD cameraIndex)
    : m_settings(settings), m_cameraIndex(cameraIndex)
{
}

bool CameraPropertyDialog::run(HWND hOwner)
{
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_BAR_CLASSES};
    InitCommonControlsEx(&icc);
    INT_PTR rc = DialogBoxParamW(thisModule(), MAKEINTRESOURCEW(IDD_KIVOLIB_CAMERA_PROPERTIES), hOwner, dialogProc,
                                 reinterpret_cast<LPARAM>(this));
    if (rc == -1 || rc == 0) {
        WriteLog(L"CameraPropertyDialog::run() DialogBoxParam failed. error = %d", int(GetLastError()));
        return false;
    }
    return true;
}

INT_PTR CALLBACK CameraPropertyDialog::dialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrW(hwnd, DWLP_USER, lParam);
        return reinterpret_cast<CameraPropertyDialog*>(lParam)->onInitDialog(hwnd);
    }
    auto* self = reinterpret_cast<CameraPropertyDialog*>(GetWindowLongPtrW(hwnd, DWLP_USER));
    if (!self)
        return FALSE;
    switch (message) {
    case WM_HSCROLL: self->onHScroll(reinterpret_cast<HWND>(lParam)); return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDC_KIVOLIB_PROP_DEFAULTS: self->onDefaults(); return TRUE;
        case IDOK: EndDialog(hwnd, IDOK); return TRUE;
        case IDCANCEL: self->onCancel(); EndDialog(hwnd, IDCANCEL); return TRUE;
        }
        break;
    }
    return FALSE;
}

BOOL CameraPropertyDialog::onInitDialog(HWND hwnd)
{
    m_hwnd = hwnd;
    WCHAR format[64] = L"";
    WCHAR caption[96];
    if (LoadStringW(thisModule(), IDS_KIVOLIB_PROP_CAPTION, format, ARRAYSIZE(format)) > 0) {
        _snwprintf(caption, ARRAYSIZE(caption), format, unsigned(m_cameraIndex));
        caption[ARRAYSIZE(caption) - 1] = L'\0';
        SetWindowTextW(hwnd, caption);
    }
    for (int id = 0; id < kRows; ++id) {
        Row& row = m_rows[id];
        row.offered = m_settings.GetPropertyRange(id, &row.min, &row.max, &row.step, &row.def, &row.caps) &&
                      m_settings.GetProperty(id, &row.original, &row.originalFlags);
        if (!row.offered)
            continue;
        HWND hSlider = GetDlgItem(hwnd, IDC_KIVOLIB_PROP_SLIDER0 + id);
        SendMessageW(hSlider, TBM_SETRANGEMIN, FALSE, row.min);
        SendMessageW(hSlider, TBM_SETRANGEMAX, FALSE, row.max);
        SendMessageW(hSlider, TBM_SETLINESIZE, 0, row.step);
        SendMessageW(hSlider, TBM_SETPAGESIZE, 0, row.step * 10 < row.max - row.min ? row.step * 10 : row.step);
        for (int control : {IDC_KIVOLIB_PROP_LABEL0, IDC_KIVOLIB_PROP_SLIDER0, IDC_KIVOLIB_PROP_VALUE0})
            EnableWindow(GetDlgItem(hwnd, control + id), TRUE);
        showRow(id, row.original);
    }
    closeUpHiddenRows();
    return TRUE;
}

void CameraPropertyDialog::showRow(int id, long value)
{
    SendMessageW(GetDlgItem(m_hwnd, IDC_KIVOLIB_PROP_SLIDER0 + id), TBM_SETPOS, TRUE, value);
    WCHAR text[16];
    _snwprintf(text, ARRAYSIZE(text), L"%ld", value);
    text[ARRAYSIZE(text) - 1] = L'\0';
    SetDlgItemTextW(m_hwnd, IDC_KIVOLIB_PROP_VALUE0 + id, text);
}

// Hides the rows of properties the camera lacks and moves the rest, and the buttons, up.
void CameraPropertyDialog::closeUpHiddenRows()
{
    RECT first, second;
    GetWindowRect(GetDlgItem(m_hwnd, IDC_KIVOLIB_PROP_SLIDER0), &first);
    GetWindowRect(GetDlgItem(m_hwnd, IDC_KIVOLIB_PROP_SLIDER0 + 1), &second);
    const int pitch = second.top - first.top;
    int shift = 0;
    for (int id = 0; id < kRows; ++id) {
        for (int control : {IDC_KIVOLIB_PROP_LABEL0, IDC_KIVOLIB_PROP_SLIDER0, IDC_KIVOLIB_PROP_VALUE0}) {
            HWND hControl = GetDlgItem(m_hwnd, control + id);
            if (!m_rows[id].offered) {
                ShowWindow(hControl, SW_HIDE);
                continue;
            }
            RECT rc;
            GetWindowRect(hControl, &rc);
            MapWindowPoints(nullptr, m_hwnd, reinterpret_cast<POINT*>(&rc), 2);
            SetWindowPos(hControl, nullptr, rc.left, rc.top - shift, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        }
        if (!m_rows[id].offered)
            shift += pitch;
    }
    for (int control : {IDC_KIVOLIB_PROP_DEFAULTS, IDOK, IDCANCEL}) {
        HWND hControl = GetDlgItem(m_hwnd, control);
        RECT rc;
        GetWindowRect(hControl, &rc);
        MapWindowPoints(nullptr, m_hwnd, reinterpret_cast<POINT*>(&rc), 2);
        SetWindowPos(hControl, nullptr, rc.left, rc.top - shift, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    }
    RECT window;
    GetWindowRect(m_hwnd, &window);
    SetWindowPos(m_hwnd, nullptr, 0, 0, window.right - window.left, window.bottom - window.top - shift,
                 SWP_NOMOVE | SWP_NOZORDER);
}

void CameraPropertyDialog::onHScroll(HWND hSlider)
{
    int id = GetDlgCtrlID(hSlider) - IDC_KIVOLIB_PROP_SLIDER0;
    if (id < 0 || id >= kRows || !m_rows[id].offered)
        return;
    const Row& row = m_rows[id];
    long value = snapToStep(long(SendMessageW(hSlider, TBM_GETPOS, 0, 0)), row.min, row.step);
    if (value > row.max)
        value -= row.step;
    m_settings.SetProperty(id, value, KIVO_PROP_FLAGS_MANUAL);
    showRow(id, value);
}

void CameraPropertyDialog::onDefaults()
{
    for (int id = 0; id < kRows; ++id) {
        if (m_rows[id].offered && m_settings.SetProperty(id, m_rows[id].def, KIVO_PROP_FLAGS_MANUAL))
            showRow(id, m_rows[id].def);
    }
}

void CameraPropertyDialog::onCancel()
{
    for (int id = 0; id < kRows; ++id) {
        if (m_rows[id].offered)
            m_settings.SetProperty(id, m_rows[id].original, m_rows[id].originalFlags);
    }
}
