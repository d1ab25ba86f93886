// Small builders that keep the layout tables readable.
#pragma once

#include "ui/layout.h"

namespace ui::build {

inline ControlSpec control(ControlKind k, const char* name, int x, int y, int w, int h) {
    ControlSpec c;
    c.kind = k;
    c.name = name;
    c.rect = rectXYWH(x, y, w, h);
    return c;
}

inline ControlSpec transparentLabel(const char* name, int x, int y, int w, int h, const char* text,
                                    Color color, Font font, HAlign ha, TextEffect fx) {
    ControlSpec c = control(ControlKind::TransparentLabel, name, x, y, w, h);
    c.text = text;
    c.textColor = color;
    c.font = std::move(font);
    c.hAlign = ha;
    c.vAlign = VAlign::Middle;
    c.effect = fx;
    return c;
}

inline ControlSpec imageButton(const char* name, int x, int y, int w, int h, Picture normal,
                               Picture hot, bool enabled = true) {
    ControlSpec c = control(ControlKind::ImageButton, name, x, y, w, h);
    c.picture = normal;
    c.hotPicture = hot;
    c.enabled = enabled;
    return c;
}

inline ControlSpec pictureBox(const char* name, int x, int y, int w, int h, Picture p, Color back) {
    ControlSpec c = control(ControlKind::PictureBox, name, x, y, w, h);
    c.picture = p;
    c.hasBackColor = true;
    c.backColor = back;
    return c;
}

inline ControlSpec timer(const char* name, int period) {
    ControlSpec c = control(ControlKind::Timer, name, 0, 0, 0, 0);
    c.period = period;
    c.visible = false;
    return c;
}

}  // namespace ui::build
