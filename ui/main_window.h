// The start-up window: title strip, date panel and the settings of one timed task.
#pragma once

#include "ui/window.h"

namespace ui {

const WindowSpec& mainWindowLayout();
extern const Rect kMainBarRect;  // where the main progress bar is drawn

class MainWindow : public Window {
  public:
    explicit MainWindow(Backend& backend);

    PictureBox 图片框3;
    TransparentLabel 透明标签1;
    ImageButton 最小化窗口;
    ImageButton 最大化窗口;
    ImageButton 关闭窗口;

    TransparentLabel 透明标签9;
    TransparentLabel 公年月;
    TransparentLabel 公日;
    TransparentLabel 星期;
    TransparentLabel 公时间;
    TransparentLabel 农时间;

    TransparentLabel 透明标签8;
    Label 标签2;
    TransparentLabel 透明标签5;
    EditBox 定时程序时;
    TransparentLabel 透明标签2;
    EditBox 定时程序分;
    TransparentLabel 透明标签3;
    EditBox 定时程序秒;
    TransparentLabel 透明标签4;
    TransparentLabel 透明标签6;
    DropDownList 定时程序设定方式;
    DropDownList 定时程序设定执行方式;
    TransparentLabel 透明标签10;
    EditBox 编辑框1;
    TransparentLabel 透明标签7;
    EditBox 编辑框6;
    EditBox 编辑框2;
    Label 标签7;
    ImageButton 图形按钮1;
    ImageButton 图形按钮2;
    ImageButton 图形按钮3;
    Label 标签1;

    Timer 时钟1;
    Timer 定时程序时钟;
    FileDialog 对话框;
    BalloonTip 气球提示框1;
};

}  // namespace ui
