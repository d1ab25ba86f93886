// The main window: title strip, date panel, settings panel, buttons.
#include "ui/layouts/builders.h"
#include "ui/main_window.h"

namespace ui {

using namespace build;

namespace {

const Color kLight = rgb(236, 236, 236);
const Color kWhite = rgb(255, 255, 255);
const Color kField = rgb(64, 64, 59);

ControlSpec panelLabel(const char* name, int x, int y, int w, int h, const char* text, Color color,
                       Font font, TextEffect fx = TextEffect::Shadow) {
    return transparentLabel(name, x, y, w, h, text, color, std::move(font), HAlign::Center, fx);
}

ControlSpec captionLabel(const char* name, int x, int y, int w, int h, const char* text) {
    return transparentLabel(name, x, y, w, h, text, kLight, Font::gui(), HAlign::Left,
                            TextEffect::Shadow);
}

ControlSpec unitLabel(const char* name, int x, const char* text) {
    return panelLabel(name, x, 56, 20, 18, text, kLight, Font::make("华文行楷", 19));
}

ControlSpec timeField(const char* name, int x, int hi, int upDownLeft, const char* text) {
    ControlSpec c = control(ControlKind::EditBox, name, x, 56, 20, 18);
    c.text = text;
    c.textColor = rgb(255, 0, 0);
    c.hasBackColor = true;
    c.backColor = kWhite;
    c.border = Border::Sunken;
    c.font = Font::make("黑体", 14);
    c.hAlign = HAlign::Left;
    c.maxLength = 2;
    c.input = InputMode::Integer;
    c.upDown = true;
    c.upDownMin = 0;
    c.upDownMax = hi;
    c.upDownRect = rectXYWH(upDownLeft, 56, 18, 18);
    return c;
}

ControlSpec darkField(const char* name, int x, int y, int w, const char* text, InputMode mode,
                      Color color, Font font) {
    ControlSpec c = control(ControlKind::EditBox, name, x, y, w, 18);
    c.text = text;
    c.textColor = color;
    c.hasBackColor = true;
    c.backColor = kField;
    c.border = Border::Single;
    c.font = std::move(font);
    c.hAlign = HAlign::Center;
    c.input = mode;
    return c;
}

ControlSpec dropDown(const char* name, int x, int w, std::vector<std::string> items) {
    ControlSpec c = control(ControlKind::DropDownList, name, x, 82, w, 18);
    c.items = std::move(items);
    c.selected = 0;
    c.textColor = kLight;
    c.hasBackColor = true;
    c.backColor = kField;
    c.font = Font::make("宋体", 12);
    c.cursor = Cursor::Hand;
    c.dropHeight = 160;
    return c;
}

ControlSpec blackLine(const char* name, int y) {
    ControlSpec c = control(ControlKind::Label, name, 176, y, 233, 1);
    c.text = "标签";
    c.hasBackColor = true;
    c.backColor = rgb(0, 0, 0);
    return c;
}

WindowSpec makeMainLayout() {
    WindowSpec w;
    w.name = "MainWindow";
    w.title = "岚翎多功能定时器";
    w.width = 423;
    w.height = 253;
    w.background = Picture::MainBackground;
    w.hasBackColor = true;
    w.backColor = rgb(96, 96, 96);
    w.dragMove = true;
    w.escCloses = true;
    w.inTaskbar = true;
    w.minimizeBox = true;

    auto& c = w.controls;
    // Title strip.
    c.push_back(pictureBox("图片框3", 9, 7, 16, 15, Picture::None, rgb(44, 48, 44)));
    c.push_back(transparentLabel("透明标签1", 31, 3, 140, 24, "岚翎多功能定时器", kLight,
                                 Font::gui(), HAlign::Left, TextEffect::None));
    c.push_back(imageButton("最小化窗口", 312, 4, 29, 17, Picture::Minimize, Picture::MinimizeHot));
    c.push_back(
        imageButton("最大化窗口", 341, 4, 26, 17, Picture::Maximize, Picture::MaximizeHot, false));
    c.push_back(imageButton("关闭窗口", 367, 4, 42, 17, Picture::Close, Picture::CloseHot));

    // Date panel.
    c.push_back(panelLabel("透明标签9", 40, 29, 88, 24, "今天时间", kLight,
                           Font::make("宋体", 12, 700), TextEffect::None));
    c.push_back(panelLabel("公年月", 10, 46, 150, 32, "2010年2月", kWhite, Font::make("黑体", 24)));
    c.push_back(
        panelLabel("公日", 10, 64, 150, 70, "22", rgb(236, 77, 0), Font::make("Georgia", 67, 700)));
    c.push_back(panelLabel("星期", 10, 142, 150, 24, "星期六", kWhite, Font::make("黑体", 20)));
    c.push_back(panelLabel("公时间", 10, 168, 150, 20, "时间:", kWhite, Font::make("宋体", 14)));
    c.push_back(panelLabel("农时间", 10, 188, 150, 24, "透明标签", kWhite, Font::gui()));

    // Settings panel.
    c.push_back(panelLabel("透明标签8", 202, 32, 190, 16, "定时设置(倒记时、定时)", kLight,
                           Font::make("宋体", 12, 700)));
    c.push_back(blackLine("标签2", 51));
    c.push_back(captionLabel("透明标签5", 168, 56, 54, 18, "设置时间:"));
    c.push_back(timeField("定时程序时", 224, 24, 244, "00"));
    c.push_back(unitLabel("透明标签2", 262, "时"));
    c.push_back(timeField("定时程序分", 286, 59, 306, "00"));
    c.push_back(unitLabel("透明标签3", 326, "分"));
    c.push_back(timeField("定时程序秒", 345, 59, 365, "59"));
    c.push_back(unitLabel("透明标签4", 387, "秒"));
    c.push_back(captionLabel("透明标签6", 168, 82, 54, 18, "操作类型:"));
    c.push_back(dropDown("定时程序设定方式", 224, 64, {"倒记时", "定点时"}));
    c.push_back(dropDown("定时程序设定执行方式", 300, 81,
                         {"关闭系统", "重启系统", "注销电脑", "提醒闹铃", "运行程序", "关闭程序"}));
    c.push_back(captionLabel("透明标签10", 168, 108, 54, 18, "闹铃歌曲:"));
    c.push_back(darkField("编辑框1", 224, 108, 170, "点浏览设置文件", InputMode::ReadOnly, kLight,
                          Font::make("宋体", 12)));
    c.push_back(captionLabel("透明标签7", 168, 131, 63, 18, "关闭程序:"));
    c.push_back(darkField("编辑框6", 224, 131, 56, "PID值", InputMode::Integer, kWhite,
                          Font::make("宋体", 12)));
    c.push_back(
        darkField("编辑框2", 297, 131, 97, "程序名称", InputMode::ReadOnly, kLight, Font::gui()));
    {
        ControlSpec s = control(ControlKind::Label, "标签7", 179, 158, 224, 16);
        s.text = "请选择您要的操作方式";
        s.textColor = kLight;
        s.hasBackColor = true;
        s.backColor = kField;
        s.font = Font::make("宋体", 12, 700);
        s.hAlign = HAlign::Center;
        c.push_back(s);
    }
    c.push_back(imageButton("图形按钮1", 179, 184, 70, 28, Picture::Browse, Picture::BrowseHot));
    c.push_back(imageButton("图形按钮2", 254, 184, 70, 28, Picture::Start, Picture::StartHot));
    c.push_back(imageButton("图形按钮3", 328, 184, 70, 28, Picture::Stop, Picture::StopHot));
    c.push_back(blackLine("标签1", 214));

    // Without a visible part.
    c.push_back(timer("时钟1", 1000));
    c.push_back(timer("定时程序时钟", 0));
    {
        ControlSpec d = control(ControlKind::FileDialog, "对话框", 0, 0, 0, 0);
        d.visible = false;
        c.push_back(d);
    }
    {
        ControlSpec b = control(ControlKind::BalloonTip, "气球提示框1", 0, 0, 0, 0);
        b.visible = false;
        b.autoPopMs = 3000;
        b.initialMs = 600;
        b.balloonColors = {rgb(255, 255, 225), rgb(250, 253, 217), rgb(255, 192, 192),
                           rgb(192, 192, 255)};
        c.push_back(b);
    }
    return w;
}

}  // namespace

const WindowSpec& mainWindowLayout() {
    static const WindowSpec layout = makeMainLayout();
    return layout;
}

const Rect kMainBarRect = rectXYWH(8, 220, 404, 20);

MainWindow::MainWindow(Backend& b)
    : Window(b, mainWindowLayout()),
      图片框3(*this, "图片框3"),
      透明标签1(*this, "透明标签1"),
      最小化窗口(*this, "最小化窗口"),
      最大化窗口(*this, "最大化窗口"),
      关闭窗口(*this, "关闭窗口"),
      透明标签9(*this, "透明标签9"),
      公年月(*this, "公年月"),
      公日(*this, "公日"),
      星期(*this, "星期"),
      公时间(*this, "公时间"),
      农时间(*this, "农时间"),
      透明标签8(*this, "透明标签8"),
      标签2(*this, "标签2"),
      透明标签5(*this, "透明标签5"),
      定时程序时(*this, "定时程序时"),
      透明标签2(*this, "透明标签2"),
      定时程序分(*this, "定时程序分"),
      透明标签3(*this, "透明标签3"),
      定时程序秒(*this, "定时程序秒"),
      透明标签4(*this, "透明标签4"),
      透明标签6(*this, "透明标签6"),
      定时程序设定方式(*this, "定时程序设定方式"),
      定时程序设定执行方式(*this, "定时程序设定执行方式"),
      透明标签10(*this, "透明标签10"),
      编辑框1(*this, "编辑框1"),
      透明标签7(*this, "透明标签7"),
      编辑框6(*this, "编辑框6"),
      编辑框2(*this, "编辑框2"),
      标签7(*this, "标签7"),
      图形按钮1(*this, "图形按钮1"),
      图形按钮2(*this, "图形按钮2"),
      图形按钮3(*this, "图形按钮3"),
      标签1(*this, "标签1"),
      时钟1(*this, "时钟1"),
      定时程序时钟(*this, "定时程序时钟"),
      对话框(*this, "对话框"),
      气球提示框1(*this, "气球提示框1") {}

}  // namespace ui
