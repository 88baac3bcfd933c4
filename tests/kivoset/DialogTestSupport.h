// What the settings program's dialog tests share: the user's registry redirected to a key of the
// test's own, the locale library as the resource module, a virtual camera of the test's own with
// a second handle to read it back, a camera handle that refuses chosen calls, and an owner window
// that records the panel's messages.
#pragma once

#include "KivoLib.h"
#include "SettingsKey.h"
#include "VcamTestSupport.h"

#include <afxwin.h>

#include <set>
#include <string>
#include <vector>

namespace dialogtest {

// HKEY_CURRENT_USER of this process becomes a fresh key of its own, removed at the end, so that
// parallel tests never see each other's settings.
class IsolatedCurrentUser {
public:
    IsolatedCurrentUser();
    ~IsolatedCurrentUser();
    IsolatedCurrentUser(const IsolatedCurrentUser&) = delete;
    IsolatedCurrentUser& operator=(const IsolatedCurrentUser&) = delete;

private:
    HKEY m_root = nullptr;
    std::wstring m_path;
};

// Values under the settings key of the (redirected) user.
inline std::wstring storedString(const std::wstring& name)   // "" when missing or not a string
{
    std::wstring value;
    return kivotest::readSetting(name.c_str(), value) ? value : std::wstring();
}
inline void writeString(const std::wstring& name, const std::wstring& value) { kivotest::writeSetting(name.c_str(), value); }
inline void writeDword(const std::wstring& name, DWORD value) { kivotest::writeSetting(name.c_str(), value); }
inline bool readDword(const std::wstring& name, DWORD& value) { return kivotest::readSetting(name.c_str(), value); }
inline bool valueExists(const std::wstring& name) { return kivotest::settingExists(name.c_str()); }

// KivoLocale.dll as the module's resource handle, as the settings program sets it up at start.
class LocaleResources {
public:
    LocaleResources();
    ~LocaleResources();
    bool loaded() const { return m_locale != nullptr; }

private:
    HMODULE m_locale = nullptr;
    HINSTANCE m_saved = nullptr;
};

// A camera settings object that passes every call to the real one except those the test makes
// fail, as a camera that refuses a value or cannot report one does.
class RefusingCameraSettings : public ICameraPropertySettings {
public:
    explicit RefusingCameraSettings(ICameraPropertySettings* real) : m_real(real) {}
    std::set<long> refuseSet;        // SetProperty of these ids fails
    std::set<long> refuseGet;        // GetProperty of these ids fails
    std::set<ULONG> refuseCustomGet; // GetCustomProperty of these ids fails
    std::vector<long> setCalls;      // ids of every SetProperty that reached the camera

    bool Release() override { return true; }
    bool SetProperty(long id, long value, long flags) override;
    bool GetProperty(long id, long* pValue, long* pFlags) override;
    bool GetPropertyRange(long id, long* pMin, long* pMax, long* pStep, long* pDefault, long* pCaps) override;
    bool ResetDefaults() override { return m_real->ResetDefaults(); }
    bool MaximizeProperty(long id) override { return m_real->MaximizeProperty(id); }
    bool SetCustomProperty(GUID set, ULONG id, long value) override;
    bool GetCustomProperty(const GUID& set, ULONG id, long* pValue) override;
    bool ShowPropertyDialog(HWND hOwner) override { return m_real->ShowPropertyDialog(hOwner); }
    bool IsInternalCamera() override { return m_real->IsInternalCamera(); }

private:
    ICameraPropertySettings* m_real;
};

// A virtual camera device of the test's own (one built-in camera, factory values) with two
// handles on camera 0: `settings` for the code under test, `probe` for the test to read back.
class TestCamera {
public:
    TestCamera();
    ~TestCamera();
    TestCamera(const TestCamera&) = delete;
    TestCamera& operator=(const TestCamera&) = delete;

    bool ready() const { return settings && probe; }
    long value(long id);                 // LONG_MIN when it cannot be read
    long custom(ULONG readId);           // LONG_MIN when it cannot be read
    void set(long id, long value);
    void setCustom(ULONG writeId, long value);
    long defaultOf(long id);
    long maximumOf(long id);

    ICameraPropertySettings* settings = nullptr;
    ICameraPropertySettings* probe = nullptr;

private:
    vcamtest::ScopedDevice m_device;
};

// A top-level window of the test, attached to a framework window so that it can own dialogs; it
// records the frame indexes posted to it with WM_APPLY_FRAME and closes itself on request.
class OwnerWindow {
public:
    OwnerWindow();
    ~OwnerWindow();
    OwnerWindow(const OwnerWindow&) = delete;
    OwnerWindow& operator=(const OwnerWindow&) = delete;

    CWnd* wnd() { return &m_wnd; }
    HWND hwnd() const { return m_hwnd; }
    // Frame indexes received so far (the window's thread appends them).
    std::vector<int> appliedFrames() const;

private:
    static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    HWND m_hwnd = nullptr;
    CWnd m_wnd;
};

// The text of a dialog's control.
std::wstring controlText(HWND hDialog, int id);

// The id of the control with the focus in a dialog running on another thread, once a control has it
// (the dialogs show themselves, and hold the focus a moment, before they set the first focus); 0
// when no control had it in time.
int focusedControl(HWND hDialog);

// Whether a dialog running on another thread repaints itself whole before it returns from the
// message: the dialog is made wholly invalid just before it handles the message, and must have
// nothing left to paint when it is done with it.
bool repaintsAtOnceOn(HWND hDialog, UINT message, WPARAM wParam = 0);

} // namespace dialogtest
