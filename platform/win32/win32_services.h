#pragma once

#include <windows.h>

#include "platform/services.h"

namespace platform {

class Win32Services : public Services {
  public:
    Win32Services() = default;
    ~Win32Services() override;
    Win32Services(const Win32Services&) = delete;
    Win32Services& operator=(const Win32Services&) = delete;

    bool claimInstanceMarker(const std::string& name) override;
    bool instanceMarkerExists(const std::string& name) override;
    std::uint32_t readHandleValue(const std::string& name) override;
    void writeHandleValue(const std::string& name, std::uint32_t value) override;
    void deleteHandleValue(const std::string& name) override;
    void openIcon(std::uint32_t windowHandle) override;
    LocalTime localTime() override;
    bool isNtFamily() override;
    bool enableShutdownPrivilege() override;
    void exitWindows(unsigned flags) override;
    void shellOpen(const std::string& path) override;
    bool terminateProcess(std::uint32_t pid) override;
    std::vector<ProcessEntry> processes() override;
    bool startAlarm(const std::string& path) override;
    void stopAlarm() override;
    bool alarmPlaying() override;
    ScreenRect taskbarRect() override;

  private:
    // The first instance keeps its marker open until the process ends; the system then
    // removes the event.
    HANDLE marker_ = nullptr;
};

}  // namespace platform
