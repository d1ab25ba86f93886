#include "contract.h"
#include "ui/headless/headless_backend.h"

namespace contract {
std::unique_ptr<ui::Backend> makeBackend() {
    return std::make_unique<ui::HeadlessBackend>();
}
int timerSlackMs() {
    return 0;
}
void blockThread(ui::Backend& b, int ms) {
    static_cast<ui::HeadlessBackend&>(b).stall(ms);
}
std::string makeFile(const std::string& name) {
    return "C:\\样本\\" + name;  // the headless dialog takes any path
}
}  // namespace contract
