#include "platform/fake/recording_services.h"

#include <algorithm>
#include <cstring>

namespace platform {

void RecordingServices::setDword(const std::string& name, std::uint32_t v) {
    RegistryValue r;
    r.type = 4;
    r.data.resize(4);
    std::memcpy(r.data.data(), &v, 4);
    registry[name] = r;
}

bool RecordingServices::called(const std::string& prefix) const {
    return std::any_of(calls.begin(), calls.end(),
                       [&](const std::string& c) { return c.rfind(prefix, 0) == 0; });
}

bool RecordingServices::claimInstanceMarker(const std::string& name) {
    calls.push_back("claimInstanceMarker " + name);
    if (instanceMarkerExists(name)) return true;
    markers.push_back(name);
    return false;
}

bool RecordingServices::instanceMarkerExists(const std::string& name) {
    return std::find(markers.begin(), markers.end(), name) != markers.end();
}

std::uint32_t RecordingServices::readHandleValue(const std::string& name) {
    calls.push_back("readHandleValue " + name);
    auto it = registry.find(name);
    if (it == registry.end() || it->second.type != 4 || it->second.data.size() != 4) return 0;
    std::uint32_t v;
    std::memcpy(&v, it->second.data.data(), 4);
    return v;
}

void RecordingServices::writeHandleValue(const std::string& name, std::uint32_t value) {
    calls.push_back("writeHandleValue " + name + " " + std::to_string(value));
    setDword(name, value);
}

void RecordingServices::deleteHandleValue(const std::string& name) {
    calls.push_back("deleteHandleValue " + name);
    registry.erase(name);
}

void RecordingServices::openIcon(std::uint32_t h) {
    calls.push_back("openIcon " + std::to_string(h));
}

LocalTime RecordingServices::localTime() {
    return clock ? clock() : LocalTime{2010, 2, 22, 2, 9, 5, 3};
}

bool RecordingServices::enableShutdownPrivilege() {
    calls.push_back("enableShutdownPrivilege");
    return privilegeOk;
}
void RecordingServices::exitWindows(unsigned flags) {
    calls.push_back("exitWindows " + std::to_string(flags));
}
void RecordingServices::shellOpen(const std::string& path) {
    calls.push_back("shellOpen " + path);
}
bool RecordingServices::terminateProcess(std::uint32_t pid) {
    calls.push_back("terminateProcess " + std::to_string(pid));
    return std::any_of(processList.begin(), processList.end(),
                       [&](const ProcessEntry& p) { return p.pid == pid; });
}
std::vector<ProcessEntry> RecordingServices::processes() {
    calls.push_back("processes");
    return processList;
}
bool RecordingServices::startAlarm(const std::string& path) {
    calls.push_back("startAlarm " + path);
    playing = true;
    return true;
}
void RecordingServices::stopAlarm() {
    calls.push_back("stopAlarm");
    playing = false;
}

}  // namespace platform
