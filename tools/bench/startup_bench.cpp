// Starts a program N times and prints, per program, the time from CreateProcess to its first
// visible top-level window and the process's peak memory. Run under the same Wine for both.
#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

struct Found {
    DWORD pid;
    HWND hwnd;
};

BOOL CALLBACK findVisible(HWND h, LPARAM p) {
    auto* f = reinterpret_cast<Found*>(p);
    DWORD pid = 0;
    GetWindowThreadProcessId(h, &pid);
    if (pid == f->pid && IsWindowVisible(h) && !GetWindow(h, GW_OWNER)) {
        f->hwnd = h;
        return FALSE;
    }
    return TRUE;
}

double ms(LARGE_INTEGER a, LARGE_INTEGER b, LARGE_INTEGER f) {
    return (b.QuadPart - a.QuadPart) * 1000.0 / f.QuadPart;
}

struct Sample {
    double shownMs = -1;
    double peakWorkingSetKb = 0, peakCommitKb = 0;
};

Sample runOnce(const std::wstring& exe) {
    Sample s;
    LARGE_INTEGER freq, t0, t1;
    QueryPerformanceFrequency(&freq);
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    std::wstring cmd = L"\"" + exe + L"\"";
    QueryPerformanceCounter(&t0);
    if (!CreateProcessW(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                        &pi))
        return s;
    Found f{pi.dwProcessId, nullptr};
    for (int i = 0; i < 20000 && !f.hwnd; ++i) {
        EnumWindows(findVisible, reinterpret_cast<LPARAM>(&f));
        if (!f.hwnd) Sleep(1);
    }
    QueryPerformanceCounter(&t1);
    if (f.hwnd) s.shownMs = ms(t0, t1, freq);
    Sleep(1500);  // let it settle (first clock firing, first paint)
    PROCESS_MEMORY_COUNTERS pmc{};
    pmc.cb = sizeof pmc;
    if (GetProcessMemoryInfo(pi.hProcess, &pmc, sizeof pmc)) {
        s.peakWorkingSetKb = pmc.PeakWorkingSetSize / 1024.0;
        s.peakCommitKb = pmc.PeakPagefileUsage / 1024.0;
    }
    if (f.hwnd) PostMessageW(f.hwnd, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(pi.hProcess, 5000) != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 1);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return s;
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: startup_bench RUNS program.exe [program.exe ...]\n");
        return 2;
    }
    int runs = std::max(1, _wtoi(argv[1]));
    std::printf("%-28s %6s %14s %14s %14s\n", "program", "runs", "shown (ms)", "peak WS (KiB)",
                "peak commit (KiB)");
    for (int a = 2; a < argc; ++a) {
        std::vector<double> shown, ws, commit;
        for (int r = 0; r < runs; ++r) {
            Sample s = runOnce(argv[a]);
            if (s.shownMs >= 0) shown.push_back(s.shownMs);
            ws.push_back(s.peakWorkingSetKb);
            commit.push_back(s.peakCommitKb);
        }
        std::wstring name = argv[a];
        name = name.substr(name.find_last_of(L"\\/") + 1);
        std::printf("%-28ls %6d %14.1f %14.0f %14.0f\n", name.c_str(), runs, median(shown),
                    median(ws), median(commit));
    }
    std::printf("(medians; shown = CreateProcess to first visible top-level window)\n");
    return 0;
}
