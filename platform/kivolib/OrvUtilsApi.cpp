// COrvUtilsApi: the driver utility object, reaching the camera driver through OrvUtils.dll, which
// is loaded by name from the folder of KivoLib.dll.
#include "KivoLib.h"

#include "OrvUtils.h"

COrvUtilsApi::COrvUtilsApi() : m_hOrvUtils(nullptr), m_pfnChangeCameraDir(nullptr), m_pfnCallDriver(nullptr)
{
}

COrvUtilsApi::~COrvUtilsApi()
{
    Release();
}

int COrvUtilsApi::Init()
{
    Release();
    std::wstring path;
    if (!kivoSiblingPath(L"OrvUtils.dll", path)) {
        WriteLog(L"COrvUtilsApi::Init() OrvUtils.dll not found.");
        return 0;
    }
    m_hOrvUtils = LoadLibraryW(path.c_str());
    if (!m_hOrvUtils) {
        WriteLog(L"COrvUtilsApi::Init() LoadLibrary failed. error = %d", int(GetLastError()));
        return 0;
    }
    auto isPresent = reinterpret_cast<OuIsDevicePresentFn>(
        reinterpret_cast<void*>(GetProcAddress(m_hOrvUtils, OU_EXPORT_IS_DEVICE_PRESENT)));
    m_pfnChangeCameraDir = reinterpret_cast<void*>(GetProcAddress(m_hOrvUtils, OU_EXPORT_CHANGE_CAMERA_DIR));
    m_pfnCallDriver = reinterpret_cast<void*>(GetProcAddress(m_hOrvUtils, OU_EXPORT_CALL_DRIVER));
    if (!isPresent || !m_pfnChangeCameraDir || !m_pfnCallDriver) {
        WriteLog(L"COrvUtilsApi::Init() OrvUtils.dll lacks its entry points.");
        Release();
        return 0;
    }
    if (!isPresent()) {
        WriteLog(L"COrvUtilsApi::Init() no built-in camera.");
        Release();
        return 0;
    }
    return 1;
}

void COrvUtilsApi::Release()
{
    m_pfnChangeCameraDir = nullptr;
    m_pfnCallDriver = nullptr;
    if (m_hOrvUtils)
        FreeLibrary(m_hOrvUtils);
    m_hOrvUtils = nullptr;
}

int COrvUtilsApi::ChangeCameraDir(int direction)
{
    if (!m_pfnChangeCameraDir)
        return 0;
    return reinterpret_cast<OuChangeCameraDirFn>(m_pfnChangeCameraDir)(direction) ? 1 : 0;
}

int COrvUtilsApi::OuCallDriver(DWORD code, DWORD* pOut)
{
    if (!m_pfnCallDriver || !pOut)
        return 0;
    return reinterpret_cast<OuCallDriverFn>(m_pfnCallDriver)(code, pOut) ? 1 : 0;
}
