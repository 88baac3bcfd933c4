// kivocam: administers the virtual camera device from the command line.
#include "Device.h"

#include "KivoLib.h"
#include "KivoNames.h"
#include "ParseNumber.h"
#include "ToolExit.h"

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace {

const wchar_t kUsageText[] =
    L"Usage: kivocam COMMAND [ARGUMENTS]\n"
    L"Administers the virtual camera device.\n"
    L"\n"
    L"Commands:\n"
    L"  list                        the cameras: index, kind, direction, capture state\n"
    L"  add [--external] [--rear]   add a built-in (default) or external camera\n"
    L"  remove N                    remove camera N (later cameras move down one index)\n"
    L"  turn N front|rear           turn built-in camera N\n"
    L"  props N                     show camera N's properties and custom settings\n"
    L"  set N PROPERTY VALUE [auto|manual]\n"
    L"                              set a property, by name or id 0..9\n"
    L"  custom N ID [VALUE]         read or write custom property ID (43..54)\n"
    L"  defaults N                  put camera N's properties back to their defaults\n"
    L"  fail-get N PROPERTY [off]   make every read of a property (name, id 0..9) or custom id\n"
    L"                              (43..54) of camera N fail, as a camera that cannot report\n"
    L"                              it; 'off' makes it work again (so does reset)\n"
    L"  dialog N                    show KivoLib's property dialog for camera N\n"
    L"  reset                       the factory device: one built-in camera, defaults\n"
    L"  --help                      this text\n"
    L"\n"
    L"Exit codes: 0 success, 1 the device refused or failed, 2 bad command line.\n"
    L"KIVO_VCAM_NAMESPACE selects a separate device.\n";

int usageError(const wchar_t* message)
{
    return ::usageError(L"kivocam", message);
}

int deviceError(vcam::Device& device)
{
    fwprintf(stderr, L"kivocam: %ls\n", device.lastError().c_str());
    return kFailed;
}

bool parseNumber(const wchar_t* text, long& value)
{
    return ::parseNumber(text, LONG_MIN, LONG_MAX, value);
}

bool parseIndex(const wchar_t* text, DWORD& index)
{
    long v = 0;
    if (!parseNumber(text, v) || v < 0)
        return false;
    index = DWORD(v);
    return true;
}

int listCameras(vcam::Device& device)
{
    std::vector<vcam::CameraInfo> cameras;
    if (device.listCameras(cameras) != vcam::DeviceResult::Ok)
        return deviceError(device);
    for (const vcam::CameraInfo& c : cameras) {
        wprintf(L"%lu %ls %ls", static_cast<unsigned long>(c.index), c.builtIn ? L"built-in" : L"external",
                c.direction == 1 ? L"rear" : L"front");
        if (c.captureOpen)
            wprintf(L" open by %lu (%ls)", static_cast<unsigned long>(c.capturePid), c.captureFormat.c_str());
        wprintf(L"\n");
    }
    if (cameras.empty())
        wprintf(L"no cameras\n");
    return kOk;
}

int addCamera(vcam::Device& device, int argc, wchar_t** argv)
{
    bool builtIn = true;
    LONG direction = 0;
    for (int i = 2; i < argc; ++i) {
        if (wcscmp(argv[i], L"--external") == 0)
            builtIn = false;
        else if (wcscmp(argv[i], L"--rear") == 0)
            direction = 1;
        else
            return usageError((L"add: unknown option " + std::wstring(argv[i])).c_str());
    }
    if (!builtIn && direction == 1)
        return usageError(L"add: an external camera has no rear direction");
    DWORD index = 0;
    if (device.addCamera(builtIn, direction, index) != vcam::DeviceResult::Ok)
        return deviceError(device);
    wprintf(L"added camera %lu\n", static_cast<unsigned long>(index));
    return kOk;
}

int showProperties(vcam::Device& device, DWORD index)
{
    for (LONG id = 0; id < LONG(vcam::kPropertyCount); ++id) {
        vcam::PropertyRange range = {};
        vcam::DeviceResult rc = device.propertyRange(index, id, range);
        if (rc == vcam::DeviceResult::NotOffered) {
            wprintf(L"%ld %-13ls not offered\n", long(id), vcam::propertyName(id));
            continue;
        }
        LONG value = 0, flags = 0;
        if (rc == vcam::DeviceResult::Ok)
            rc = device.getProperty(index, id, value, flags);
        if (rc == vcam::DeviceResult::GetFails) {
            wprintf(L"%ld %-13ls fails to read\n", long(id), vcam::propertyName(id));
            continue;
        }
        if (rc != vcam::DeviceResult::Ok)
            return deviceError(device);
        wprintf(L"%ld %-13ls %ld %ls  range %ld..%ld step %ld default %ld%ls\n", long(id), vcam::propertyName(id),
                long(value), flags == KIVO_PROP_FLAGS_AUTO ? L"auto" : L"manual", long(range.min), long(range.max),
                long(range.step), long(range.def), (range.caps & KIVO_PROP_FLAGS_AUTO) ? L" auto-capable" : L"");
    }
    for (DWORD slot = 0; slot < vcam::kCustomSettingCount; ++slot) {
        const vcam::CustomSetting& setting = vcam::customSettingAt(slot);
        LONG available = 0, value = 0;
        vcam::DeviceResult rc = device.getCustom(index, setting.writeId + 2, available);
        if (rc == vcam::DeviceResult::Ok && available)
            rc = device.getCustom(index, setting.writeId + 1, value);
        if (rc == vcam::DeviceResult::GetFails) {
            wprintf(L"%ld %-13ls fails to read\n", long(setting.writeId), setting.name);
            continue;
        }
        if (rc == vcam::DeviceResult::NotOffered || !available) {
            wprintf(L"%ld %-13ls not offered\n", long(setting.writeId), setting.name);
            continue;
        }
        if (rc != vcam::DeviceResult::Ok)
            return deviceError(device);
        wprintf(L"%ld %-13ls %ld  (read %ld, available %ld)\n", long(setting.writeId), setting.name, long(value),
                long(setting.writeId + 1), long(setting.writeId + 2));
    }
    return kOk;
}

int setProperty(vcam::Device& device, DWORD index, int argc, wchar_t** argv)
{
    if (argc < 5 || argc > 6)
        return usageError(L"set: give N PROPERTY VALUE [auto|manual]");
    long id = vcam::propertyIdByName(argv[3]);
    if (id < 0 && (!parseNumber(argv[3], id) || !vcam::propertyName(id)))
        return usageError((L"set: unknown property " + std::wstring(argv[3])).c_str());
    long value = 0;
    if (!parseNumber(argv[4], value))
        return usageError(L"set: the value must be a whole number");
    LONG flags = KIVO_PROP_FLAGS_MANUAL;
    if (argc == 6) {
        if (_wcsicmp(argv[5], L"auto") == 0)
            flags = KIVO_PROP_FLAGS_AUTO;
        else if (_wcsicmp(argv[5], L"manual") != 0)
            return usageError(L"set: the mode must be auto or manual");
    }
    if (device.setProperty(index, id, value, flags) != vcam::DeviceResult::Ok)
        return deviceError(device);
    LONG now = 0, nowFlags = 0;
    device.getProperty(index, id, now, nowFlags);
    wprintf(L"%ls = %ld\n", vcam::propertyName(id), long(now));
    return kOk;
}

int customProperty(vcam::Device& device, DWORD index, int argc, wchar_t** argv)
{
    long id = 0, value = 0;
    if (argc < 4 || argc > 5 || !parseNumber(argv[3], id))
        return usageError(L"custom: give N ID [VALUE]");
    if (argc == 5) {
        if (!parseNumber(argv[4], value))
            return usageError(L"custom: the value must be a whole number");
        if (device.setCustom(index, id, value) != vcam::DeviceResult::Ok)
            return deviceError(device);
        return kOk;
    }
    LONG read = 0;
    if (device.getCustom(index, id, read) != vcam::DeviceResult::Ok)
        return deviceError(device);
    wprintf(L"%ld\n", long(read));
    return kOk;
}

int failGet(vcam::Device& device, DWORD index, int argc, wchar_t** argv)
{
    bool off = argc == 5 && _wcsicmp(argv[4], L"off") == 0;
    if (argc < 4 || (argc == 5 && !off) || argc > 5)
        return usageError(L"fail-get: give N PROPERTY [off]");
    long id = vcam::propertyIdByName(argv[3]);
    if (id < 0 && (!parseNumber(argv[3], id) || vcam::failingGetBit(id) == 0))
        return usageError((L"fail-get: unknown property " + std::wstring(argv[3])).c_str());
    if (device.setGetFails(index, id, !off) != vcam::DeviceResult::Ok)
        return deviceError(device);
    return kOk;
}

// The dialog lives in KivoLib.dll beside this program; it is loaded only for this command.
int showDialog(DWORD index)
{
    WCHAR path[MAX_PATH * 2];
    DWORD n = GetModuleFileNameW(nullptr, path, ARRAYSIZE(path));
    WCHAR* slash = n && n < ARRAYSIZE(path) ? wcsrchr(path, L'\\') : nullptr;
    if (!slash)
        return kFailed;
    wcscpy(slash + 1, L"KivoLib.dll");
    HMODULE hLib = LoadLibraryW(path);
    if (!hLib) {
        fwprintf(stderr, L"kivocam: cannot load %ls (error %lu)\n", path, GetLastError());
        return kFailed;
    }
    typedef ICameraPropertySettings*(__cdecl * CreateFn)(DWORD);
    auto create = reinterpret_cast<CreateFn>(reinterpret_cast<void*>(GetProcAddress(hLib, "CreateCameraPropertySettings")));
    ICameraPropertySettings* settings = create ? create(index) : nullptr;
    int rc = kFailed;
    if (!settings)
        fwprintf(stderr, L"kivocam: no camera %lu\n", static_cast<unsigned long>(index));
    else {
        rc = settings->ShowPropertyDialog(nullptr) ? kOk : kFailed;
        settings->Release();
    }
    FreeLibrary(hLib);
    return rc;
}

int runIndexed(vcam::Device& device, const std::wstring& command, int argc, wchar_t** argv)
{
    DWORD index = 0;
    if (argc < 3 || !parseIndex(argv[2], index))
        return usageError((command + L": give the camera index").c_str());
    if (command == L"remove" && argc == 3) {
        if (device.removeCamera(index) != vcam::DeviceResult::Ok)
            return deviceError(device);
        wprintf(L"removed camera %lu\n", static_cast<unsigned long>(index));
        return kOk;
    }
    if (command == L"turn" && argc == 4) {
        LONG direction = _wcsicmp(argv[3], L"front") == 0 ? 0 : _wcsicmp(argv[3], L"rear") == 0 ? 1 : -1;
        if (direction < 0)
            return usageError(L"turn: the direction must be front or rear");
        return device.turnCamera(index, direction) == vcam::DeviceResult::Ok ? kOk : deviceError(device);
    }
    if (command == L"props" && argc == 3)
        return showProperties(device, index);
    if (command == L"set")
        return setProperty(device, index, argc, argv);
    if (command == L"custom")
        return customProperty(device, index, argc, argv);
    if (command == L"fail-get")
        return failGet(device, index, argc, argv);
    if (command == L"defaults" && argc == 3)
        return device.resetProperties(index) == vcam::DeviceResult::Ok ? kOk : deviceError(device);
    if (command == L"dialog" && argc == 3)
        return showDialog(index);
    return usageError((command + L": wrong number of arguments").c_str());
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 2)
        return usageError(L"no command given");
    std::wstring command = argv[1];
    if (command == L"--help" || command == L"-h" || command == L"help") {
        fputws(kUsageText, stdout);
        return kOk;
    }
    vcam::Device device;
    if (command == L"reset") {
        if (argc != 2)
            return usageError(L"reset takes no arguments");
        return device.factoryReset() == vcam::DeviceResult::Ok ? kOk : deviceError(device);
    }
    if (!device.open())
        return deviceError(device);
    if (command == L"list")
        return argc == 2 ? listCameras(device) : usageError(L"list takes no arguments");
    if (command == L"add")
        return addCamera(device, argc, argv);
    static const wchar_t* const kIndexed[] = {L"remove", L"turn", L"props", L"set", L"custom", L"defaults", L"fail-get",
                                                  L"dialog"};
    for (const wchar_t* name : kIndexed)
        if (command == name)
            return runIndexed(device, command, argc, argv);
    return usageError((L"unknown command " + command).c_str());
}
