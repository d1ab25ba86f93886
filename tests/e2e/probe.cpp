// Looks at the running program from inside Wine for run-e2e.sh: one subcommand per call, answers
// as "key=value" lines on stdout. Exit code 0 when the thing asked about holds, 1 when not (or on
// timeout), 2 on a usage error.
#include <windows.h>

#include <fcntl.h>
#include <io.h>
#include <shellapi.h>
#include <tlhelp32.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <string>

namespace {

const wchar_t kClass[] = L"LanlingWindow";
const wchar_t kTitle[] = L"岚翎多功能定时器";
const wchar_t kEventName[] = L"岚翎_dsq";
const wchar_t kValueName[] = L"岚翎dsq";
const wchar_t kExeName[] = L"lanling-timer.exe";

std::string utf8(const std::wstring& w) {
    int n = WideCharToMultiByte(CP_UTF8, 0, w.c_str(), static_cast<int>(w.size()), nullptr, 0,
                                nullptr, nullptr);
    std::string s(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, w.c_str(), static_cast<int>(w.size()), s.data(), n, nullptr,
                        nullptr);
    return s;
}

std::wstring wide(const char* s) {
    int n = MultiByteToWideChar(CP_UTF8, 0, s, -1, nullptr, 0);
    std::wstring w(static_cast<size_t>(n > 0 ? n - 1 : 0), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, s, -1, w.data(), n);
    return w;
}

// Waits up to `ms` for `done` to hold, checking every 50 ms.
template <class F>
bool poll(DWORD ms, F done) {
    DWORD start = GetTickCount();
    for (;;) {
        if (done()) return true;
        if (GetTickCount() - start >= ms) return false;
        Sleep(50);
    }
}

struct Count {
    int windows = 0;
    HWND last = nullptr;
};

BOOL CALLBACK countWindow(HWND h, LPARAM lp) {
    wchar_t cls[64] = {}, title[64] = {};
    GetClassNameW(h, cls, 64);
    GetWindowTextW(h, title, 64);
    if (wcscmp(cls, kClass) == 0 && wcscmp(title, kTitle) == 0) {
        auto* c = reinterpret_cast<Count*>(lp);
        ++c->windows;
        c->last = h;
    }
    return TRUE;
}

Count mainWindows() {
    Count c;
    EnumWindows(countWindow, reinterpret_cast<LPARAM>(&c));
    return c;
}

int processCount() {
    int n = 0;
    HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snap == INVALID_HANDLE_VALUE) return -1;
    PROCESSENTRY32W e{};
    e.dwSize = sizeof e;
    for (BOOL more = Process32FirstW(snap, &e); more; more = Process32NextW(snap, &e))
        if (_wcsicmp(e.szExeFile, kExeName) == 0) ++n;
    CloseHandle(snap);
    return n;
}

HWND mainWindow() {
    return FindWindowW(kClass, kTitle);
}

void printWindow(HWND h) {
    RECT r{};
    GetWindowRect(h, &r);
    DWORD pid = 0;
    GetWindowThreadProcessId(h, &pid);
    POINT cursor{};
    GetCursorPos(&cursor);
    std::printf(
        "hwnd=0x%llx pid=%lu left=%ld top=%ld width=%ld height=%ld visible=%d iconic=%d "
        "foreground=%d style=0x%08lx exstyle=0x%08lx owner=0x%llx cursor=%ld,%ld\n",
        static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(h)), pid, r.left, r.top,
        r.right - r.left, r.bottom - r.top, IsWindowVisible(h) ? 1 : 0, IsIconic(h) ? 1 : 0,
        GetForegroundWindow() == h ? 1 : 0,
        static_cast<unsigned long>(GetWindowLongW(h, GWL_STYLE)),
        static_cast<unsigned long>(GetWindowLongW(h, GWL_EXSTYLE)),
        static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(GetWindow(h, GW_OWNER))),
        cursor.x, cursor.y);
}

bool inMoveLoop(HWND h) {
    GUITHREADINFO gi{};
    gi.cbSize = sizeof gi;
    DWORD tid = GetWindowThreadProcessId(h, nullptr);
    return tid && GetGUIThreadInfo(tid, &gi) && (gi.flags & GUI_INMOVESIZE);
}

HKEY userRoot() {
    HKEY key = nullptr;
    RegOpenKeyExW(HKEY_CURRENT_USER, nullptr, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, &key);
    return key;
}

int regGet() {
    HKEY key = userRoot();
    BYTE data[256] = {};
    DWORD type = 0, size = sizeof data;
    LONG r = RegQueryValueExW(key, kValueName, nullptr, &type, data, &size);
    RegCloseKey(key);
    if (r != ERROR_SUCCESS) {
        std::printf("value=none\n");
        return 1;
    }
    if (type == REG_DWORD && size == 4) {
        DWORD v;
        std::memcpy(&v, data, 4);
        std::printf("value=dword data=0x%llx\n", static_cast<unsigned long long>(v));
    } else {
        std::printf("value=other type=%lu size=%lu\n", type, size);
    }
    return 0;
}

int regSet(const char* kind, const char* data) {
    HKEY key = userRoot();
    LONG r;
    if (std::strcmp(kind, "dword") == 0) {
        DWORD v = static_cast<DWORD>(std::strtoul(data, nullptr, 0));
        r = RegSetValueExW(key, kValueName, 0, REG_DWORD, reinterpret_cast<BYTE*>(&v), sizeof v);
    } else {
        std::wstring s = wide(data);
        r = RegSetValueExW(key, kValueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(s.c_str()),
                           static_cast<DWORD>((s.size() + 1) * sizeof(wchar_t)));
    }
    RegCloseKey(key);
    return r == ERROR_SUCCESS ? 0 : 1;
}

// The desktop's taskbar must exist and take a notification icon, as on Windows.
int shell() {
    HWND tray = FindWindowW(L"Shell_TrayWnd", nullptr);
    HWND owner = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
    NOTIFYICONDATAW nid{};
    nid.cbSize = sizeof nid;
    nid.hWnd = owner;
    nid.uID = 1;
    nid.uFlags = NIF_ICON | NIF_TIP;
    nid.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
    wcscpy(nid.szTip, L"probe");
    bool added = Shell_NotifyIconW(NIM_ADD, &nid) != 0;
    if (added) Shell_NotifyIconW(NIM_DELETE, &nid);
    DestroyWindow(owner);
    std::printf("tray=%d notify=%d\n", tray ? 1 : 0, added ? 1 : 0);
    return tray && added ? 0 : 1;
}

BOOL CALLBACK countButton(HWND h, LPARAM lp) {
    if (IsWindowVisible(h)) ++*reinterpret_cast<int*>(lp);
    return TRUE;
}

// The taskbar's buttons are its visible child windows (the start button among them); the
// button of a window carries no text to find it by.
int taskbarButtons() {
    int n = 0;
    if (HWND tray = FindWindowW(L"Shell_TrayWnd", nullptr))
        EnumChildWindows(tray, countButton, reinterpret_cast<LPARAM>(&n));
    return n;
}

int resources(const char* path) {
    std::wstring file = wide(path);
    HMODULE m = LoadLibraryExW(file.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!m) {
        std::printf("load=0\n");
        return 1;
    }
    bool icon = FindResourceW(m, MAKEINTRESOURCEW(1), RT_GROUP_ICON) != nullptr;
    HRSRC man = FindResourceW(m, MAKEINTRESOURCEW(1), RT_MANIFEST);
    std::string manifest;
    if (man)
        if (const void* p = LockResource(LoadResource(m, man)))
            manifest.assign(static_cast<const char*>(p), SizeofResource(m, man));
    FreeLibrary(m);
    bool commonControls = manifest.find("Microsoft.Windows.Common-Controls") != std::string::npos;

    std::wstring product;
    DWORD handle = 0, size = GetFileVersionInfoSizeW(file.c_str(), &handle);
    std::string block(size, '\0');
    if (size && GetFileVersionInfoW(file.c_str(), 0, size, block.data())) {
        struct Lang {
            WORD language, codepage;
        }* langs = nullptr;
        UINT len = 0;
        if (VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation",
                           reinterpret_cast<void**>(&langs), &len) &&
            len >= sizeof(Lang)) {
            wchar_t query[64];
            swprintf(query, 64, L"\\StringFileInfo\\%04x%04x\\ProductName", langs[0].language,
                     langs[0].codepage);
            wchar_t* text = nullptr;
            if (VerQueryValueW(block.data(), query, reinterpret_cast<void**>(&text), &len) && len)
                product = text;
        }
    }
    std::printf("icon=%d manifest=%d common-controls=%d product=%s\n", icon ? 1 : 0, man ? 1 : 0,
                commonControls ? 1 : 0, utf8(product).c_str());
    return icon && man && commonControls && product == kTitle ? 0 : 1;
}

int usage() {
    std::fprintf(stderr,
                 "usage: e2e_probe COMMAND\n"
                 "  window | wait-window MS | wait-at LEFT TOP MS | wait-restored MS |\n"
                 "  wait-iconic MS | wait-moving MS | wait-still MS | wait-gone MS |\n"
                 "  wait-single MS | count | minimize | event | reg-get |\n"
                 "  reg-set dword|sz DATA | reg-del | shell | taskbar-buttons [MS WANT] |\n"
                 "  resources EXE\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    // Plain "\n" line ends, and bytes through unchanged, for the shell reading this.
    _setmode(_fileno(stdout), _O_BINARY);
    if (argc < 2) return usage();
    std::string cmd = argv[1];
    DWORD ms = argc > 2 ? static_cast<DWORD>(std::strtoul(argv[2], nullptr, 10)) : 0;

    if (cmd == "window" || cmd == "wait-window") {
        HWND h = nullptr;
        poll(ms, [&] { return (h = mainWindow()) && IsWindowVisible(h); });
        if (!h) {
            std::printf("hwnd=none\n");
            return 1;
        }
        printWindow(h);
        return 0;
    }
    if (cmd == "wait-at" && argc == 5) {
        long left = std::strtol(argv[2], nullptr, 10), top = std::strtol(argv[3], nullptr, 10);
        ms = static_cast<DWORD>(std::strtoul(argv[4], nullptr, 10));
        HWND h = nullptr;
        bool ok = poll(ms, [&] {
            RECT r{};
            return (h = mainWindow()) && GetWindowRect(h, &r) && r.left == left && r.top == top;
        });
        if (h) printWindow(h);
        return ok ? 0 : 1;
    }
    if (cmd == "wait-restored" || cmd == "wait-iconic") {
        bool iconic = cmd == "wait-iconic";
        HWND h = nullptr;
        bool ok = poll(ms, [&] {
            h = mainWindow();
            if (!h) return false;
            if (iconic) return IsIconic(h) != 0;
            return !IsIconic(h) && IsWindowVisible(h) && GetForegroundWindow() == h;
        });
        if (h) printWindow(h);
        return ok ? 0 : 1;
    }
    if (cmd == "wait-moving" || cmd == "wait-still") {
        bool want = cmd == "wait-moving";
        bool ok = poll(ms, [want] {
            HWND h = mainWindow();
            return h && inMoveLoop(h) == want;
        });
        std::printf("moving=%d\n", ok == want ? 1 : 0);
        return ok ? 0 : 1;
    }
    if (cmd == "wait-gone") {
        bool ok = poll(ms, [] { return mainWindows().windows == 0 && processCount() == 0; });
        std::printf("gone=%d windows=%d processes=%d\n", ok ? 1 : 0, mainWindows().windows,
                    processCount());
        return ok ? 0 : 1;
    }
    if (cmd == "wait-single" || cmd == "count") {
        bool ok = poll(ms, [] { return mainWindows().windows == 1 && processCount() == 1; });
        Count c = mainWindows();
        std::printf("windows=%d processes=%d hwnd=0x%llx\n", c.windows, processCount(),
                    static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(c.last)));
        return ok ? 0 : 1;
    }
    if (cmd == "minimize") {
        HWND h = mainWindow();
        if (h) ShowWindow(h, SW_MINIMIZE);
        return h ? 0 : 1;
    }
    if (cmd == "event") {
        HANDLE e = OpenEventW(SYNCHRONIZE, FALSE, kEventName);
        std::printf("event=%d\n", e ? 1 : 0);
        if (e) CloseHandle(e);
        return e ? 0 : 1;
    }
    if (cmd == "reg-get") return regGet();
    if (cmd == "reg-set" && argc == 4) return regSet(argv[2], argv[3]);
    if (cmd == "reg-del") {
        HKEY key = userRoot();
        LONG r = RegDeleteValueW(key, kValueName);
        RegCloseKey(key);
        return r == ERROR_SUCCESS || r == ERROR_FILE_NOT_FOUND ? 0 : 1;
    }
    if (cmd == "shell") return shell();
    if (cmd == "taskbar-buttons") {
        // With WANT: waits for that many.
        int want = argc > 3 ? std::atoi(argv[3]) : -1;
        bool ok = poll(ms, [want] { return want < 0 || taskbarButtons() == want; });
        std::printf("buttons=%d\n", taskbarButtons());
        return ok ? 0 : 1;
    }
    if (cmd == "resources" && argc == 3) return resources(argv[2]);
    return usage();
}
