// The product library KivoLib.dll, as both programs use it: logging, registry access, the driver
// utility object, the library's own bitmaps, and the camera objects (image access task, effects,
// camera property settings). Failures are reported by return values, never by exceptions.
#pragma once

#include "KivoProtocol.h"

#include <windows.h>

#include <string>

#ifdef KIVOLIB_BUILD
#define KIVOLIB_API __declspec(dllexport)
#else
#define KIVOLIB_API __declspec(dllimport)
#endif

// --- logging ---

// Appends one line (time, process id, program name, then the formatted text) to the product's log.
// The format is printf-style with the platform's wide conventions (%s is a wide string).
extern "C" KIVOLIB_API void __cdecl WriteLog(LPCWSTR format, ...);

// --- registry ---

// One key, opened for one access and closed again. Every operation returns 0 (ERROR_SUCCESS) on
// success and a Windows error code otherwise; a failed read leaves the caller's variable untouched.
class KIVOLIB_API KivoRegKey {
public:
    KivoRegKey();
    ~KivoRegKey();

    LONG Open(HKEY hRoot, LPCWSTR path);     // read access; fails when the key is missing
    LONG Create(HKEY hRoot, LPCWSTR path);   // read and write access; creates the key when missing
    LONG Read(LPCWSTR name, DWORD& value);   // REG_DWORD only
    // REG_SZ into a buffer of cchBuffer characters, terminator included.
    LONG ReadString(LPCWSTR name, LPWSTR buffer, DWORD cchBuffer);
    LONG Write(LPCWSTR name, DWORD value);
    LONG Write(LPCWSTR name, LPCWSTR value);
    void Close();

    // A string value of any length; the string is left untouched on failure.
    LONG Read(LPCWSTR name, std::wstring& value)
    {
        WCHAR buffer[1024];
        LONG rc = ReadString(name, buffer, ARRAYSIZE(buffer));
        if (rc == ERROR_SUCCESS)
            value = buffer;
        return rc;
    }

private:
    KivoRegKey(const KivoRegKey&) = delete;
    KivoRegKey& operator=(const KivoRegKey&) = delete;

    HKEY m_hKey;
};

// --- the driver utility object ---

// Reaches the camera driver through OrvUtils.dll. Init fails when that library or the device is
// missing; every other call then fails too.
class KIVOLIB_API COrvUtilsApi {
public:
    COrvUtilsApi();
    ~COrvUtilsApi();

    int Init();                                 // 1 on success
    void Release();                             // before deletion; Init may be called again after it
    int ChangeCameraDir(int direction);         // 0 front, 1 rear; non-zero on success
    int OuCallDriver(DWORD code, DWORD* pOut);  // non-zero on success

private:
    COrvUtilsApi(const COrvUtilsApi&) = delete;
    COrvUtilsApi& operator=(const COrvUtilsApi&) = delete;

    HMODULE m_hOrvUtils;
    void* m_pfnChangeCameraDir;
    void* m_pfnCallDriver;
};

// --- the library's own bitmaps ---

// Frames 10000.. (transparent where their pixels are KIVO_FRAME_COLOR_KEY), still pictures 102 and
// 103, the over-resolution picture 150.
#define KIVO_FRAME_COLOR_KEY RGB(255, 0, 255)

class KIVOLIB_API ImageFactory {
public:
    // A new bitmap owned by the caller (DeleteObject), scaled to width x height, or at its natural
    // size for (0, 0); null when the id is unknown.
    static HBITMAP CreateBitmap(UINT id, int width, int height);
    // A picture from a BMP file, as a new bitmap owned by the caller: scaled to width x height with
    // the frame colour key kept exact, or at its natural size for (0, 0). Null when the file cannot
    // be read or is not a whole uncompressed BMP of at most 4096 pixels a side; nothing of such a
    // file is used.
    static HBITMAP LoadBitmapFile(LPCWSTR path, int width, int height);
};

// --- where the settings program and its help live: beside KivoLib.dll ---

extern "C" KIVOLIB_API BOOL __cdecl KivoGetSiblingPath(LPCWSTR fileName, LPWSTR path, DWORD cchPath);

// True, with the full path, when the file is there.
inline bool kivoSiblingPath(LPCWSTR fileName, std::wstring& path)
{
    WCHAR buffer[MAX_PATH * 2];
    if (!KivoGetSiblingPath(fileName, buffer, ARRAYSIZE(buffer)))
        return false;
    path = buffer;
    return true;
}
inline bool GetKivoSetExePath(std::wstring& path) { return kivoSiblingPath(L"KivoSet.exe", path); }

// The folder name of the user's display language for files that come in several languages: its
// two-letter name ("de" for German in Germany, Austria or Switzerland); empty for English, whose
// files lie in the folder itself.
inline std::wstring kivoLanguageFolder()
{
    WCHAR language[16] = L"";
    LCID uiLocale = MAKELCID(GetUserDefaultUILanguage(), SORT_DEFAULT);
    if (GetLocaleInfoW(uiLocale, LOCALE_SISO639LANGNAME, language, ARRAYSIZE(language)) <= 1 ||
        wcscmp(language, L"en") == 0)
        return std::wstring();
    return language;
}

// The help in the user's display language: <language>\KivoSet.chm beside KivoLib.dll (de\ for
// German), or the English KivoSet.chm for a language without an edition of its own; false when
// neither is there.
extern "C" KIVOLIB_API BOOL __cdecl KivoGetHelpPath(LPWSTR path, DWORD cchPath);

inline bool GetKivoSetChmPath(std::wstring& path)
{
    WCHAR buffer[MAX_PATH * 2];
    if (!KivoGetHelpPath(buffer, ARRAYSIZE(buffer)))
        return false;
    path = buffer;
    return true;
}

// --- the camera objects (the records they share are in KivoProtocol.h) ---

// Watches one camera for one window: posts WM_USER+2/+3/+4 (camera index in wParam) when a capturing
// application opens or closes it or the camera is removed, and, with frame access enabled,
// WM_USER+1 for every captured frame, which the window rewrites in place and hands on with
// CompleteFrame. The DWORD results are KIVO_TASK_OK on success (CompleteFrame: KIVO_TASK_FAILED
// when no frame is held). Opened on a camera that an application already has open, the task posts
// WM_USER+2 before Open returns. Slots in this order.
class IImgFAccessTask {
public:
    virtual void Release() = 0;                                            // 0
    virtual DWORD Open(HWND hNotifyWnd, DWORD cameraIndex) = 0;            // 1
    virtual BOOL GetFrameStats(KIVO_FRAME_STATS* pStats) = 0;              // 2
    virtual DWORD EnableFrameAccess(DWORD enable) = 0;                     // 3
    virtual BOOL CmdAcquireFrameBuffer(KIVO_FRAME_BUFFER** ppBuffer) = 0;  // 4
    virtual DWORD Close() = 0;                                             // 5
    virtual DWORD CompleteFrame() = 0;                                     // 6

protected:
    ~IImgFAccessTask() = default;   // released through Release only
};

// Rewrites frames in place; the effect flags are the bits of EffectBits.h. Every result is non-zero
// on success; a failure leaves the frame untouched.
class IKivoLib {
public:
    virtual void Release() = 0;                                            // 0
    virtual int ApplyFrameEffect(KIVO_FRAME_BUFFER* pFrame, HWND hWnd, HBITMAP hFrameBitmap,
                                 DWORD effectFlags) = 0;                   // 1
    // Draws the bitmap, scaled to the frame, into pTarget (the frame's byte size, its format).
    virtual int RenderBitmap(void* pTarget, KIVO_FRAME_BUFFER* pFrame, HWND hWnd,
                             HBITMAP hBitmap) = 0;                         // 2

protected:
    ~IKivoLib() = default;
};

// One camera's picture properties and custom property set. Every result is one byte, non-zero on
// success. Slots in this order.
class ICameraPropertySettings {
public:
    virtual bool Release() = 0;                                                          // 0
    virtual bool SetProperty(long id, long value, long flags) = 0;                       // 1
    virtual bool GetProperty(long id, long* pValue, long* pFlags) = 0;                   // 2
    virtual bool GetPropertyRange(long id, long* pMin, long* pMax, long* pStep, long* pDefault,
                                  long* pCapsFlags) = 0;                                 // 3
    virtual bool ResetDefaults() = 0;                                                    // 4
    virtual bool MaximizeProperty(long id) = 0;                                          // 5
    virtual bool SetCustomProperty(GUID set, ULONG id, long value) = 0;                  // 6
    virtual bool GetCustomProperty(const GUID& set, ULONG id, long* pValue) = 0;         // 7
    virtual bool ShowPropertyDialog(HWND hOwner) = 0;                                    // 8
    virtual bool IsInternalCamera() = 0;                                                 // 9

protected:
    ~ICameraPropertySettings() = default;
};

// Factories; null on failure.
extern "C" KIVOLIB_API IImgFAccessTask* __cdecl CreateImgFAccessTask();
extern "C" KIVOLIB_API IKivoLib* __cdecl CreateKivoLib();
extern "C" KIVOLIB_API ICameraPropertySettings* __cdecl CreateCameraPropertySettings(DWORD cameraIndex);
