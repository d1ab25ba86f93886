// The rules every backend of the window model must follow. The suite is compiled once per
// backend: natively against the headless one, under Wine against Win32.
#pragma once

#include <memory>
#include <string>

#include "ui/backend.h"

namespace contract {
std::unique_ptr<ui::Backend> makeBackend();
// Milliseconds a firing may lag its place on the timer grid on this backend.
int timerSlackMs();
// Runs `ms` of work on the thread without serving the queue.
void blockThread(ui::Backend& b, int ms);
// Creates an empty file of that name in a scratch folder and returns its full path (GBK).
std::string makeFile(const std::string& name);
}  // namespace contract
