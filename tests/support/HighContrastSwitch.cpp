#include "HighContrastSwitch.h"

#include <cstring>
#include <iterator>

namespace {

const int kSchemeIndexes[] = {COLOR_WINDOW, COLOR_WINDOWTEXT, COLOR_BTNFACE, COLOR_BTNTEXT, COLOR_HIGHLIGHT,
                              COLOR_HIGHLIGHTTEXT, COLOR_ACTIVECAPTION, COLOR_CAPTIONTEXT, COLOR_INACTIVECAPTION,
                              COLOR_INACTIVECAPTIONTEXT, COLOR_GRAYTEXT, COLOR_HOTLIGHT, COLOR_WINDOWFRAME};
const COLORREF kSchemeColors[] = {RGB(0, 0, 0),     RGB(255, 255, 255), RGB(0, 0, 64),     RGB(255, 255, 128),
                                  RGB(26, 235, 255), RGB(1, 1, 1),      RGB(128, 0, 128),  RGB(250, 250, 250),
                                  RGB(64, 64, 64),   RGB(200, 200, 200), RGB(63, 242, 63), RGB(255, 255, 0),
                                  RGB(240, 128, 0)};
const int kSchemeSize = static_cast<int>(std::size(kSchemeIndexes));
COLORREF g_savedColors[kSchemeSize];

using SystemParametersInfoFn = BOOL(WINAPI*)(UINT, UINT, PVOID, UINT);
SystemParametersInfoFn g_realSystemParametersInfo = nullptr;
bool g_reportOn = false;

BOOL WINAPI reportingSystemParametersInfo(UINT action, UINT param, PVOID data, UINT winIni)
{
    BOOL ok = g_realSystemParametersInfo(action, param, data, winIni);
    if (ok && action == SPI_GETHIGHCONTRAST && data && g_reportOn)
        static_cast<HIGHCONTRASTW*>(data)->dwFlags |= HCF_HIGHCONTRASTON;
    return ok;
}

// The entry of module's import address table that holds function, imported from library.
void** importSlot(HMODULE module, const char* library, void* function)
{
    auto* base = reinterpret_cast<BYTE*>(module);
    auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (!imports.VirtualAddress)
        return nullptr;
    for (auto* entry = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress); entry->Name; ++entry) {
        if (_stricmp(reinterpret_cast<char*>(base + entry->Name), library) != 0)
            continue;
        for (auto* thunk = reinterpret_cast<IMAGE_THUNK_DATA*>(base + entry->FirstThunk); thunk->u1.Function; ++thunk)
            if (reinterpret_cast<void*>(thunk->u1.Function) == function)
                return reinterpret_cast<void**>(&thunk->u1.Function);
    }
    return nullptr;
}

void writeSlot(void** slot, void* value)
{
    DWORD old = 0;
    if (::VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &old)) {
        *slot = value;
        ::VirtualProtect(slot, sizeof *slot, old, &old);
    }
}

bool systemHighContrast()
{
    HIGHCONTRASTW contrast = {sizeof contrast, 0, nullptr};
    return ::SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0) &&
           (contrast.dwFlags & HCF_HIGHCONTRASTON);
}

bool switchBySystem(bool on)
{
    HIGHCONTRASTW contrast = {sizeof contrast, on ? DWORD(HCF_HIGHCONTRASTON) : 0u, nullptr};
    return ::SystemParametersInfoW(SPI_SETHIGHCONTRAST, sizeof contrast, &contrast, SPIF_SENDCHANGE) &&
           systemHighContrast() == on;
}

} // namespace

COLORREF contrastSchemeColor(int index)
{
    for (int i = 0; i < kSchemeSize; ++i)
        if (kSchemeIndexes[i] == index)
            return kSchemeColors[i];
    return ::GetSysColor(index);
}

HighContrastSwitch::HighContrastSwitch()
{
    if (systemHighContrast())
        return;   // already on: nothing to switch, nothing to restore
    m_bySystem = switchBySystem(true) && switchBySystem(false);
    if (m_bySystem)
        return;
    for (int i = 0; i < kSchemeSize; ++i)
        g_savedColors[i] = ::GetSysColor(kSchemeIndexes[i]);
    m_colorsSet = ::SetSysColors(kSchemeSize, kSchemeIndexes, kSchemeColors) != FALSE;
    HMODULE skin = ::GetModuleHandleW(L"Tsl.dll");
    void* real = reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"user32.dll"), "SystemParametersInfoW"));
    m_importSlot = skin && real ? importSlot(skin, "user32.dll", real) : nullptr;
    if (!m_importSlot)
        return;
    m_original = *m_importSlot;
    g_realSystemParametersInfo = reinterpret_cast<SystemParametersInfoFn>(m_original);
    g_reportOn = false;
    writeSlot(m_importSlot, reinterpret_cast<void*>(&reportingSystemParametersInfo));
}

HighContrastSwitch::~HighContrastSwitch()
{
    if (m_bySystem)
        switchBySystem(false);
    if (m_importSlot)
        writeSlot(m_importSlot, m_original);
    g_reportOn = false;
    if (m_colorsSet)
        ::SetSysColors(kSchemeSize, kSchemeIndexes, g_savedColors);
}

bool HighContrastSwitch::on() const
{
    return m_bySystem ? systemHighContrast() : (m_importSlot && g_reportOn);
}

void HighContrastSwitch::setOn(bool on)
{
    if (m_bySystem)
        switchBySystem(on);
    else
        g_reportOn = on;
}

void HighContrastSwitch::announce(HWND hWnd)
{
    ::SendMessageW(hWnd, WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
}
