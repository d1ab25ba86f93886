// Records every call and answers from plain state, so handlers can be tested without touching
// the machine: nothing is ever shut down, launched or killed.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/services.h"

namespace platform {

class RecordingServices : public Services {
  public:
    struct RegistryValue {
        unsigned type = 4;  // REG_DWORD
        std::vector<unsigned char> data;
    };

    std::vector<std::string> calls;    // "openIcon 1234", "writeHandleValue <name> 42", ...
    std::vector<std::string> markers;  // named events that exist
    std::map<std::string, RegistryValue> registry;
    std::function<LocalTime()> clock;  // each reading calls it anew
    std::vector<ProcessEntry> processList;
    bool privilegeOk = true;
    bool ntFamily = true;
    bool playing = false;
    ScreenRect taskbar{0, 738, 1024, 768};

    void setDword(const std::string& name, std::uint32_t v);
    bool called(const std::string& prefix) const;

    bool claimInstanceMarker(const std::string& name) override;
    bool instanceMarkerExists(const std::string& name) override;
    std::uint32_t readHandleValue(const std::string& name) override;
    void writeHandleValue(const std::string& name, std::uint32_t value) override;
    void deleteHandleValue(const std::string& name) override;
    void openIcon(std::uint32_t windowHandle) override;
    LocalTime localTime() override;
    bool isNtFamily() override { return ntFamily; }
    bool enableShutdownPrivilege() override;
    void exitWindows(unsigned flags) override;
    void shellOpen(const std::string& path) override;
    bool terminateProcess(std::uint32_t pid) override;
    std::vector<ProcessEntry> processes() override;
    bool startAlarm(const std::string& path) override;
    void stopAlarm() override;
    bool alarmPlaying() override { return playing; }
    ScreenRect taskbarRect() override { return taskbar; }
};

}  // namespace platform
