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
}  // namespace contract
