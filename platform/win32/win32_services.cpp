#include "platform/win32/win32_services.h"

#include <shellapi.h>
#include <tlhelp32.h>

#include "ui/win32/text.h"

namespace platform {

using ui::win32::narrow;
using ui::win32::widen;

Win32Services::~Win32Services() = default;  // marker_ stays open to the end of the process

bool Win32Services::claimInstanceMarker(const std::string& name) {
    // Creating and testing in one call leaves no gap for a second copy started at the same time.
    HANDLE h = CreateEventW(nullptr, FALSE, FALSE, widen(name).c_str());
    bool existed = h && GetLastError() == ERROR_ALREADY_EXISTS;
    if (h && !existed && !marker_) marker_ = h;
    return existed;
}

bool Win32Services::instanceMarkerExists(const std::string& name) {
    HANDLE h = OpenEventW(EVENT_ALL_ACCESS, FALSE, widen(name).c_str());
    if (!h) return false;
    CloseHandle(h);
    return true;
}

std::uint32_t Win32Services::readHandleValue(const std::string& name) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, nullptr, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return 0;
    DWORD type = 0, value = 0, size = sizeof value;
    LONG r = RegQueryValueExW(key, widen(name).c_str(), nullptr, &type,
                              reinterpret_cast<BYTE*>(&value), &size);
    RegCloseKey(key);
    if (r != ERROR_SUCCESS || type != REG_DWORD || size != sizeof value) return 0;
    return value;
}

void Win32Services::writeHandleValue(const std::string& name, std::uint32_t value) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, nullptr, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return;
    DWORD v = value;
    RegSetValueExW(key, widen(name).c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&v),
                   sizeof v);
    RegCloseKey(key);
}

void Win32Services::deleteHandleValue(const std::string& name) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, nullptr, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return;
    RegDeleteValueW(key, widen(name).c_str());
    RegCloseKey(key);
}

void Win32Services::openIcon(std::uint32_t windowHandle) {
    // Handles are 32-bit values even in 64-bit processes, so the stored number is the handle.
    HWND hwnd = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(windowHandle));
    if (windowHandle == 0 || !IsWindow(hwnd)) return;
    OpenIcon(hwnd);
    // A window hidden in the notification area is minimized and invisible: OpenIcon restores it
    // but only a visible window can come to the front.
    SetForegroundWindow(hwnd);
}

LocalTime Win32Services::localTime() {
    SYSTEMTIME st;
    GetLocalTime(&st);
    return LocalTime{st.wYear, st.wMonth,  st.wDay,   st.wDayOfWeek + 1,
                     st.wHour, st.wMinute, st.wSecond};
}

bool Win32Services::isNtFamily() {
    OSVERSIONINFOW v{};
    v.dwOSVersionInfoSize = sizeof v;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    if (!GetVersionExW(&v)) return true;
#pragma GCC diagnostic pop
    return v.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

bool Win32Services::enableShutdownPrivilege() {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token))
        return false;
    TOKEN_PRIVILEGES tp{};
    tp.PrivilegeCount = 1;
    tp.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    bool ok = LookupPrivilegeValueW(nullptr, L"SeShutdownPrivilege", &tp.Privileges[0].Luid) &&
              AdjustTokenPrivileges(token, FALSE, &tp, 0, nullptr, nullptr) &&
              GetLastError() == ERROR_SUCCESS;
    CloseHandle(token);
    return ok;
}

void Win32Services::exitWindows(unsigned flags) {
    ExitWindowsEx(flags, SHTDN_REASON_MAJOR_OTHER | SHTDN_REASON_FLAG_PLANNED);
}

void Win32Services::shellOpen(const std::string& path) {
    ShellExecuteW(nullptr, L"open", widen(path).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

bool Win32Services::terminateProcess(std::uint32_t pid) {
    HANDLE h = OpenProcess(PROCESS_ALL_ACCESS, FALSE, pid);
    if (!h) return false;
    bool ok = TerminateProcess(h, 0) != 0;
    CloseHandle(h);
    return ok;
}

std::vector<ProcessEntry> Win32Services::processes() {
    std::vector<ProcessEntry> out;
    HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snap == INVALID_HANDLE_VALUE) return out;
    PROCESSENTRY32W e{};
    e.dwSize = sizeof e;
    for (BOOL more = Process32FirstW(snap, &e); more; more = Process32NextW(snap, &e))
        out.push_back({e.th32ProcessID, narrow(e.szExeFile)});
    CloseHandle(snap);
    return out;
}

// The alarm's decoder and output thread are not part of this build yet: nothing plays.
bool Win32Services::startAlarm(const std::string&) {
    return false;
}
void Win32Services::stopAlarm() {}
bool Win32Services::alarmPlaying() {
    return false;
}

ScreenRect Win32Services::taskbarRect() {
    RECT r{};
    HWND tray = FindWindowW(L"Shell_TrayWnd", nullptr);
    if (!tray || !GetWindowRect(tray, &r)) return {};
    return {r.left, r.top, r.right, r.bottom};
}

}  // namespace platform
