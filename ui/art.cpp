#include "ui/art.h"

extern const unsigned char art_app_ico[];
extern const unsigned art_app_icoSize;

namespace ui {
const std::vector<std::uint8_t>& appIconData() {
    static const std::vector<std::uint8_t> bytes(art_app_ico, art_app_ico + art_app_icoSize);
    return bytes;
}
}  // namespace ui
