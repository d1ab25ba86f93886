// The operating-system services the program relies on, apart from windows and drawing (those
// are the window model's). One Win32 implementation, one recording fake for native tests.
// Texts are GBK byte strings.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace platform {

// A reading of the local clock, whole seconds; weekday 1 = Sunday .. 7 = Saturday.
struct LocalTime {
    int year = 0, month = 0, day = 0, weekday = 0, hour = 0, minute = 0, second = 0;
};

struct ProcessEntry {
    std::uint32_t pid = 0;
    std::string imageName;
};

struct ScreenRect {
    int left = 0, top = 0, right = 0, bottom = 0;
};

// ExitWindowsEx flags the actions use.
constexpr unsigned kExitLogOff = 0;
constexpr unsigned kExitReboot = 2;
constexpr unsigned kExitForcedPowerOff = 12;   // EWX_POWEROFF | EWX_FORCE
constexpr unsigned kExitForcedShutdown9x = 5;  // EWX_SHUTDOWN | EWX_FORCE

class Services {
  public:
    virtual ~Services() = default;

    // Instance marker, as one step: creates the named event (auto-reset, not signalled) and
    // keeps it for the life of the process; true when it existed already.
    virtual bool claimInstanceMarker(const std::string& name) = 0;
    virtual bool instanceMarkerExists(const std::string& name) = 0;

    // Handle record: a REG_DWORD directly under HKEY_CURRENT_USER. A missing value, or one of
    // another type or size, reads 0.
    virtual std::uint32_t readHandleValue(const std::string& name) = 0;
    virtual void writeHandleValue(const std::string& name, std::uint32_t value) = 0;
    virtual void deleteHandleValue(const std::string& name) = 0;

    // Restores and activates a minimized (or hidden-and-minimized) window; nothing for a
    // number that names no window.
    virtual void openIcon(std::uint32_t windowHandle) = 0;

    virtual LocalTime localTime() = 0;

    // Power actions.
    virtual bool isNtFamily() = 0;
    virtual bool enableShutdownPrivilege() = 0;  // false when the privilege step failed
    virtual void exitWindows(unsigned flags) = 0;

    // Launch and terminate.
    virtual void shellOpen(const std::string& path) = 0;
    virtual bool terminateProcess(std::uint32_t pid) = 0;
    virtual std::vector<ProcessEntry> processes() = 0;

    // Alarm output: plays the MP3 file in a loop on a worker thread until stopped.
    virtual bool startAlarm(const std::string& path) = 0;
    virtual void stopAlarm() = 0;
    virtual bool alarmPlaying() = 0;

    // Popup placement: the taskbar window's rectangle, or all zero when there is none.
    virtual ScreenRect taskbarRect() = 0;
};

}  // namespace platform
