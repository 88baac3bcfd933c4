#include "ServeSystem.h"

#include "KivoNames.h"
#include "StandInProtocol.h"
#include "resource.h"

#include <shellapi.h>
#include <shlobj.h>
#include <tlhelp32.h>

#include <algorithm>
#include <sstream>

namespace serve {

namespace {

const wchar_t kFrameWindowClass[] = L"Afx:*";

} // namespace

// Programs started from here find libraries only where an installed program would: the test's own
// search path leads to the staged libraries, which would hide a library left out.
Installation::Installation(SettingsProgram program, const std::vector<std::wstring>& leaveOut)
    : m_folder(L"install", kivotest::testsFolder()),
      m_log(m_folder.file(L"kivo.log")),
      m_cameraNamespace(kivotest::uniqueName(L"servetest")),
      m_logFile(L"KIVO_LOG_FILE", m_log.path()),
      m_standInOut(L"KIVO_STANDIN_OUT", m_folder.file(L"standin.txt")),
      m_searchPath(L"PATH", kivotest::windowsSearchPath()),
      m_camera(L"KIVO_VCAM_NAMESPACE", m_cameraNamespace)
{
    std::vector<std::wstring> notStaged = leaveOut;
    if (program == SettingsProgram::StandIn)
        notStaged.push_back(L"KivoSet.exe");
    kivotest::stageEverything(dir(), notStaged);
    bool leaveOutKivoSet = std::any_of(leaveOut.begin(), leaveOut.end(),
                                       [](const std::wstring& n) { return _wcsicmp(n.c_str(), L"KivoSet.exe") == 0; });
    if (program == SettingsProgram::StandIn && !leaveOutKivoSet)
        CopyFileW(kivotest::testsFile(L"StandInKivoSet.exe").c_str(), file(L"KivoSet.exe").c_str(), FALSE);
}

Installation::~Installation()
{
    // The virtual camera keeps each device's state in a file; this one was the installation's own.
    WCHAR programData[MAX_PATH];
    if (SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_COMMON_APPDATA, nullptr, 0, programData)))
        DeleteFileW((std::wstring(programData) + L"\\Kivo\\VirtualCamera\\device-" + m_cameraNamespace + L".bin").c_str());
}

kivotest::LaunchOptions Installation::options() const
{
    kivotest::LaunchOptions options;
    options.folder = dir();
    return options;
}

TestProcess Installation::start(const wchar_t* exe, const std::wstring& arguments) const
{
    return TestProcess(file(exe), arguments, options());
}

std::unique_ptr<TestProcess> Installation::startOwned(const wchar_t* exe, const std::wstring& arguments) const
{
    return std::make_unique<TestProcess>(file(exe), arguments, options());
}

std::vector<std::string> Installation::standInLines() const
{
    return kivotest::readTextLines(file(L"standin.txt"));
}

bool Installation::waitForStandIn(const std::string& text, DWORD timeoutMs) const
{
    return waitFor(
        [&] {
            std::vector<std::string> lines = standInLines();
            return std::find(lines.begin(), lines.end(), text) != lines.end();
        },
        timeoutMs);
}

DWORD runTool(const Installation& inst, const wchar_t* exe, const std::wstring& arguments, DWORD timeoutMs)
{
    std::string output;
    return runTool(inst, exe, arguments, output, timeoutMs);
}

DWORD runTool(const Installation& inst, const wchar_t* exe, const std::wstring& arguments, std::string& output,
              DWORD timeoutMs)
{
    kivotest::LaunchOptions options;
    options.folder = inst.dir();
    kivotest::RunResult run = kivotest::runToEnd(inst.file(exe), arguments, timeoutMs, options);
    output = run.output;
    return run.finished ? run.exitCode : ~0u;
}

bool haltService(const Installation& inst, TestProcess& service, DWORD timeoutMs)
{
    TestProcess halt = inst.start(L"KivoServe.exe", L"/Halt");
    bool haltEnded = halt.waitExit(timeoutMs);
    return service.waitExit(timeoutMs) && haltEnded;
}

std::string cameraDirection(const Installation& inst, int camera)
{
    std::string listing;
    if (runTool(inst, L"kivocam.exe", L"list", listing) != 0)
        return "";
    std::istringstream lines(listing);
    std::string line;
    std::string prefix = std::to_string(camera) + " ";
    while (std::getline(lines, line)) {
        if (line.compare(0, prefix.size(), prefix) != 0)
            continue;
        if (line.find(" rear") != std::string::npos)
            return "rear";
        if (line.find(" front") != std::string::npos)
            return "front";
    }
    return "";
}

HWND findFrameWindow(DWORD processId)
{
    return kivotest::findTopLevelWindow(processId, kFrameWindowClass);
}

HWND waitForFrameWindow(DWORD processId, DWORD timeoutMs)
{
    return kivotest::waitForTopLevelWindow(processId, kFrameWindowClass, nullptr, timeoutMs);
}

HWND findStandInWindow()
{
    return FindWindowW(kStandInClassName, nullptr);
}

void setExternalCameraInstalled(bool installed)
{
    kivotest::setMachineSetting(KIVO_VALUE_EXTERNAL_CAMERA_INSTALLED, installed);
}

namespace {

// Whether the window's process runs the program at this path (any process when the path is empty).
bool windowOfProgram(HWND hWnd, const std::wstring& program)
{
    return program.empty() ||
           _wcsicmp(kivotest::imageOfProcess(processOfWindow(hWnd)).c_str(), program.c_str()) == 0;
}

// Whether any process runs one of these programs.
bool anyProcessRuns(const std::vector<std::wstring>& programs)
{
    HANDLE hSnapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (hSnapshot == INVALID_HANDLE_VALUE)
        return true;   // cannot tell: not ended
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof(entry);
    bool runs = false;
    for (BOOL more = Process32FirstW(hSnapshot, &entry); more && !runs; more = Process32NextW(hSnapshot, &entry)) {
        std::wstring image = kivotest::imageOfProcess(entry.th32ProcessID);
        for (const std::wstring& program : programs)
            runs = runs || _wcsicmp(image.c_str(), program.c_str()) == 0;
    }
    CloseHandle(hSnapshot);
    return runs;
}

HWND findPanelOf(const std::wstring& program)
{
    // The panel is the settings program's dialog with the direction buttons and the effect lists.
    HWND hWnd = nullptr;
    while ((hWnd = FindWindowExW(nullptr, hWnd, L"#32770", nullptr)) != nullptr) {
        if (GetDlgItem(hWnd, IDC_DIRECTION_FRONT) && GetDlgItem(hWnd, IDC_ZOOM_LIST) &&
            GetDlgItem(hWnd, IDC_MODE_LIST) && windowOfProgram(hWnd, program))
            return hWnd;
    }
    return nullptr;
}

} // namespace

HWND findPanelWindow()
{
    return findPanelOf(std::wstring());
}

HWND findPanelWindow(const Installation& inst)
{
    return findPanelOf(inst.file(L"KivoSet.exe"));
}

HWND waitForPanelWindow(const Installation& inst, DWORD timeoutMs)
{
    HWND hPanel = nullptr;
    waitFor([&] { return (hPanel = findPanelWindow(inst)) != nullptr; }, timeoutMs);
    return hPanel;
}

DWORD processOfWindow(HWND hWnd)
{
    DWORD processId = 0;
    if (hWnd)
        GetWindowThreadProcessId(hWnd, &processId);
    return processId;
}

bool choosePanelEntry(HWND hPanel, int listId, int entry)
{
    HWND hList = GetDlgItem(hPanel, listId);
    if (!hList || SendMessageW(hList, CB_SETCURSEL, WPARAM(entry), 0) != entry)
        return false;
    SendMessageW(hPanel, WM_COMMAND, MAKEWPARAM(listId, CBN_SELCHANGE), reinterpret_cast<LPARAM>(hList));
    return true;
}

bool waitForProgramsToEnd(const Installation& inst, DWORD timeoutMs)
{
    const std::vector<std::wstring> programs = {inst.file(L"KivoServe.exe"), inst.file(L"KivoSet.exe")};
    return waitFor([&] { return !anyProcessRuns(programs); }, timeoutMs);
}

bool waitForProcessEnd(DWORD processId, DWORD timeoutMs)
{
    HANDLE hProcess = OpenProcess(SYNCHRONIZE, FALSE, processId);
    if (!hProcess)
        return GetLastError() == ERROR_INVALID_PARAMETER;   // no such process
    bool ended = WaitForSingleObject(hProcess, timeoutMs) == WAIT_OBJECT_0;
    CloseHandle(hProcess);
    return ended;
}

bool trayIconShown(HWND hServe)
{
    NOTIFYICONDATAW nid = {};
    nid.cbSize = NOTIFYICONDATAW_V3_SIZE;
    nid.hWnd = hServe;
    nid.uID = 1;
    return Shell_NotifyIconW(NIM_MODIFY, &nid) != FALSE;
}

double numberAfter(const std::string& text, const std::string& word)
{
    std::istringstream in(text);
    std::string token, next;
    while (in >> token) {
        if (token == word && in >> next)
            return atof(next.c_str());
    }
    return -1;
}

} // namespace serve
