// The program's icon as ICO bytes, shared by every backend.
#pragma once

#include <cstdint>
#include <vector>

namespace ui {
const std::vector<std::uint8_t>& appIconData();
}
