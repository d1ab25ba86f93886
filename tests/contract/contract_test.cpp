#include "contract.h"
#include "ui/art.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "ui/layouts/builders.h"
#include "ui/window.h"

namespace {

using namespace ui;
using namespace ui::build;

WindowSpec testLayout(bool escCloses = true) {
    WindowSpec w;
    w.name = "Probe";
    w.title = "探针窗口";
    w.width = 300;
    w.height = 200;
    w.dragMove = true;
    w.escCloses = escCloses;
    w.minimizeBox = true;
    auto& c = w.controls;
    c.push_back(transparentLabel("标签甲", 10, 10, 120, 20, "透明&标签", rgb(255, 255, 255),
                                 Font::gui(), HAlign::Left, TextEffect::Shadow));
    ControlSpec field = control(ControlKind::EditBox, "时", 10, 40, 30, 18);
    field.text = "00";
    field.input = InputMode::Integer;
    field.maxLength = 2;
    field.upDown = true;
    field.upDownMax = 24;
    field.upDownRect = rectXYWH(40, 40, 18, 18);
    c.push_back(field);
    field.name = "分";
    field.rect = rectXYWH(80, 40, 30, 18);
    field.upDownMax = 59;
    field.upDownRect = rectXYWH(110, 40, 18, 18);
    c.push_back(field);
    ControlSpec plain = control(ControlKind::EditBox, "文本", 10, 70, 150, 18);
    plain.text = "点浏览设置文件";
    c.push_back(plain);
    ControlSpec list = control(ControlKind::DropDownList, "列表", 10, 100, 90, 18);
    list.items = {"倒记时", "定点时", "第三项"};
    list.selected = 0;
    c.push_back(list);
    c.push_back(imageButton("按钮", 120, 100, 70, 28, Picture::Start, Picture::StartHot));
    c.push_back(timer("钟", 0));
    ControlSpec label = control(ControlKind::Label, "状态", 10, 140, 200, 16);
    label.text = "请选择您要的操作方式";
    label.hasBackColor = true;
    label.backColor = rgb(64, 64, 59);
    c.push_back(label);
    return w;
}

class Probe : public Window {
  public:
    Probe(Backend& b, const WindowSpec& s)
        : Window(b, s),
          标签甲(*this, "标签甲"),
          时(*this, "时"),
          分(*this, "分"),
          文本(*this, "文本"),
          列表(*this, "列表"),
          按钮(*this, "按钮"),
          钟(*this, "钟"),
          状态(*this, "状态") {}
    TransparentLabel 标签甲;
    EditBox 时, 分, 文本;
    DropDownList 列表;
    ImageButton 按钮;
    Timer 钟;
    Label 状态;
};

class Contract : public ::testing::Test {
  protected:
    void SetUp() override { backend = contract::makeBackend(); }
    void TearDown() override {
        probe.reset();
        backend.reset();
    }
    Probe& load(bool escCloses = true) {
        layout = testLayout(escCloses);
        probe = std::make_unique<Probe>(*backend, layout);
        probe->onDestroying = [this] { log.push_back("destroying"); };
        probe->load();
        backend->pump(0);
        return *probe;
    }
    std::unique_ptr<Backend> backend;
    WindowSpec layout;
    std::unique_ptr<Probe> probe;
    std::vector<std::string> log;
};

TEST_F(Contract, LoadingRaisesCreatedMovedSizedThenShows) {
    layout = testLayout();
    Probe p(*backend, layout);
    p.onCreated = [&] { log.push_back(p.isVisible() ? "created visible" : "created"); };
    p.onMoved = [&] { log.push_back("moved"); };
    p.onSized = [&] { log.push_back("sized"); };
    p.load();
    EXPECT_EQ(log, (std::vector<std::string>{"created", "moved", "sized"}));
    EXPECT_TRUE(p.isVisible());
    Rect r = backend->windowRect(p.id()), screen = backend->screenRect();
    EXPECT_EQ(r.left, (screen.width() - 300) / 2);
    EXPECT_EQ(r.top, (screen.height() - 200) / 2);
    EXPECT_EQ(r.width(), 300);
    EXPECT_EQ(r.height(), 200);
}

TEST_F(Contract, DestructionIsQueuedAndTheLoaderStillRaisesItsEvents) {
    layout = testLayout();
    Probe p(*backend, layout);
    p.onCreated = [&] {
        p.destroy();
        log.push_back(p.isLoaded() ? "created, still loaded" : "created, gone");
    };
    p.onMoved = [&] { log.push_back("moved"); };
    p.onSized = [&] { log.push_back("sized"); };
    p.onDestroying = [&] { log.push_back("destroying"); };
    p.load();
    EXPECT_TRUE(p.isLoaded());
    backend->pump(0);
    EXPECT_FALSE(p.isLoaded());
    EXPECT_EQ(log,
              (std::vector<std::string>{"created, still loaded", "moved", "sized", "destroying"}));
}

TEST_F(Contract, TheLoopEndsWhenTheLastWindowHasGone) {
    Probe& p = load();
    p.按钮.onClick = [&] { p.destroy(); };
    backend->userClick(p.id(), p.按钮.index());
    EXPECT_EQ(backend->runMessageLoop(), 0);
    EXPECT_FALSE(p.isLoaded());
    EXPECT_EQ(log, (std::vector<std::string>{"destroying"}));
}

TEST_F(Contract, TheLoopReturnsAtOnceWhenThereIsNoWindow) {
    EXPECT_EQ(backend->runMessageLoop(), 0);
}

TEST_F(Contract, WritingAnEditBoxRaisesTextChangedOnceEvenForTheSameText) {
    Probe& p = load();
    int changes = 0;
    p.文本.onTextChanged = [&] { ++changes; };
    p.文本.setText("岚翎提示");
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(p.文本.text(), "岚翎提示");
    p.文本.setText("岚翎提示");
    EXPECT_EQ(changes, 2);
    p.文本.setText("");
    EXPECT_EQ(changes, 3);
    EXPECT_EQ(p.文本.text(), "");
}

TEST_F(Contract, IntegerFieldsDropLettersAndRefuseAThirdCharacter) {
    Probe& p = load();
    int changes = 0;
    p.分.onTextChanged = [&] { ++changes; };
    p.分.setText("");
    changes = 0;
    for (unsigned char ch : {'a', '.', '5', '-', '7'})
        backend->userTypeChar(p.id(), p.分.index(), ch);
    EXPECT_EQ(p.分.text(), "5-");
    EXPECT_EQ(changes, 2);
    backend->userTypeChar(p.id(), p.分.index(), '\b');
    EXPECT_EQ(p.分.text(), "5");
}

TEST_F(Contract, UpDownWrapsSelectsAndFocuses) {
    Probe& p = load();
    struct Case {
        EditBox* field;
        const char* before;
        bool up;
        const char* after;
    } cases[] = {{&p.分, "59", true, "0"},
                 {&p.分, "00", false, "59"},
                 {&p.时, "24", true, "0"},
                 {&p.时, "00", false, "24"},
                 {&p.时, "00", true, "1"}};
    for (const Case& c : cases) {
        c.field->setText(c.before);
        int changes = 0;
        c.field->onTextChanged = [&] { ++changes; };
        backend->userStepUpDown(p.id(), c.field->index(), c.up);
        EXPECT_EQ(c.field->text(), c.after) << c.before;
        EXPECT_EQ(changes, 1) << c.before;
        EXPECT_EQ(backend->focusedControl(p.id()), c.field->index());
        c.field->onTextChanged = nullptr;
    }
    // Stepping a disabled field does nothing.
    p.时.setText("5");
    p.时.disable();
    backend->userStepUpDown(p.id(), p.时.index(), true);
    EXPECT_EQ(p.时.text(), "5");
}

TEST_F(Contract, FocusEventsFollowTheFocus) {
    Probe& p = load();
    backend->userFocus(p.id(), p.文本.index());
    p.时.onGotFocus = [&] { log.push_back("时 got"); };
    p.文本.onLostFocus = [&] { log.push_back("文本 lost"); };
    backend->userFocus(p.id(), p.时.index());
    EXPECT_EQ(log, (std::vector<std::string>{"文本 lost", "时 got"}));
}

TEST_F(Contract, ListSelectionEventsComeFromTheUserOnly) {
    Probe& p = load();
    std::vector<int> seen;
    p.列表.onItemSelected = [&] { seen.push_back(p.列表.selectedIndex()); };
    backend->userChooseItem(p.id(), p.列表.index(), 1);
    backend->userChooseItem(p.id(), p.列表.index(), 1);  // the same item again still counts
    p.列表.setSelectedIndex(2);
    backend->pump(0);
    EXPECT_EQ(seen, (std::vector<int>{1, 1}));
    EXPECT_EQ(p.列表.selectedIndex(), 2);
    EXPECT_EQ(p.列表.text(), "第三项");
    EXPECT_EQ(p.列表.itemCount(), 3);
}

TEST_F(Contract, ImageButtonsClickOnlyWhenEnabled) {
    Probe& p = load();
    int clicks = 0;
    p.按钮.onClick = [&] { ++clicks; };
    backend->userClick(p.id(), p.按钮.index());
    EXPECT_EQ(clicks, 1);
    p.按钮.disable();
    EXPECT_FALSE(p.按钮.isEnabled());
    backend->userClick(p.id(), p.按钮.index());
    EXPECT_EQ(clicks, 1);
}

TEST_F(Contract, CaptionsReadBackAsWritten) {
    Probe& p = load();
    EXPECT_EQ(p.标签甲.caption(), "透明&标签");
    p.标签甲.setCaption("农历:二零一零年正月初九");
    p.状态.setCaption("过0小时59分59秒 关闭系统");
    EXPECT_EQ(p.标签甲.caption(), "农历:二零一零年正月初九");
    EXPECT_EQ(p.状态.caption(), "过0小时59分59秒 关闭系统");
    p.状态.hide();
    EXPECT_FALSE(p.状态.isVisible());
}

TEST_F(Contract, TimerPeriodRules) {
    Probe& p = load();
    std::vector<std::int64_t> ticks;
    p.钟.onTick = [&] { ticks.push_back(backend->nowMs()); };
    std::int64_t start = backend->nowMs();
    p.钟.setPeriod(200);
    backend->pump(300);
    p.钟.setPeriod(200);  // the current period: no restart, the next firing stays at 400
    backend->pump(150);
    ASSERT_EQ(ticks.size(), 2u);
    EXPECT_NEAR(static_cast<double>(ticks[1] - start), 400, contract::timerSlackMs());

    ticks.clear();
    p.钟.setPeriod(0);
    p.钟.setPeriod(-5);  // counts as 0
    EXPECT_EQ(p.钟.period(), 0);
    backend->pump(450);
    EXPECT_TRUE(ticks.empty());

    std::int64_t restart = backend->nowMs();
    p.钟.setPeriod(200);  // a full first period after the restart
    backend->pump(300);
    ASSERT_EQ(ticks.size(), 1u);
    EXPECT_NEAR(static_cast<double>(ticks[0] - restart), 200, contract::timerSlackMs());
}

TEST_F(Contract, PeriodicTimersDoNotDriftAndDoNotMakeUpMissedFirings) {
    Probe& p = load();
    std::vector<std::int64_t> ticks;
    bool blockOnce = false;
    p.钟.onTick = [&] {
        ticks.push_back(backend->nowMs());
        if (blockOnce) {
            blockOnce = false;
            contract::blockThread(*backend, 350);
        }
    };
    std::int64_t start = backend->nowMs();
    p.钟.setPeriod(100);
    backend->pump(2050);
    ASSERT_GE(ticks.size(), 19u);
    ASSERT_LE(ticks.size(), 20u);
    for (size_t n = 0; n < ticks.size(); ++n)
        EXPECT_NEAR(static_cast<double>(ticks[n] - start), 100.0 * (n + 1),
                    contract::timerSlackMs())
            << "firing " << n + 1;

    ticks.clear();
    blockOnce = true;
    std::int64_t from = backend->nowMs();
    backend->pump(1000);
    // Blocked for 350 ms after the first firing: three grid points pass with one late firing.
    ASSERT_GE(ticks.size(), 6u);
    ASSERT_LE(ticks.size(), 8u);
    for (size_t n = 2; n < ticks.size(); ++n) {
        double phase = static_cast<double>((ticks[n] - start) % 100);
        EXPECT_LE(std::min(phase, 100 - phase), contract::timerSlackMs()) << "back on the grid";
    }
    EXPECT_LE(ticks.back() - from, 1000);
}

TEST_F(Contract, EscapeAndTheSystemCloseCommandClose) {
    Probe& p = load(true);
    backend->userPressEscape(p.id());
    backend->pump(0);
    EXPECT_FALSE(p.isLoaded());
    EXPECT_EQ(log, (std::vector<std::string>{"destroying"}));

    log.clear();
    Probe& q = load(false);
    backend->userPressEscape(q.id());
    backend->pump(0);
    EXPECT_TRUE(q.isLoaded());
    backend->userSystemClose(q.id());
    backend->pump(0);
    EXPECT_FALSE(q.isLoaded());
}

TEST_F(Contract, MinimizingActsOnlyOnAVisibleWindowAndRaisesBothEvents) {
    Probe& p = load();
    int moved = 0, sized = 0;
    p.onMoved = [&] { ++moved; };
    p.onSized = [&] { ++sized; };
    p.hide();
    p.setPlacement(Placement::Minimized);
    backend->pump(0);
    EXPECT_EQ(p.placement(), Placement::Normal);
    EXPECT_EQ(moved + sized, 0);
    p.show();
    p.setPlacement(Placement::Minimized);
    backend->pump(0);
    EXPECT_EQ(p.placement(), Placement::Minimized);
    EXPECT_GE(moved, 1);
    EXPECT_GE(sized, 1);
    moved = sized = 0;
    p.setPlacement(Placement::Normal);
    backend->pump(0);
    EXPECT_EQ(p.placement(), Placement::Normal);
    EXPECT_GE(moved + sized, 1);
}

TEST_F(Contract, TopmostAndAlpha) {
    Probe& p = load();
    EXPECT_FALSE(backend->isTopmost(p.id()));
    p.setTopmost(true);
    EXPECT_TRUE(backend->isTopmost(p.id()));
    p.setTopmost(false);
    EXPECT_FALSE(backend->isTopmost(p.id()));
    EXPECT_EQ(backend->alpha(p.id()), 255);
    p.setAlpha(128);
    EXPECT_EQ(backend->alpha(p.id()), 128);
}

TEST_F(Contract, ModalLoadDisablesTheOtherWindowsUntilItHasGone) {
    Probe& owner = load();
    WindowSpec modalSpec = testLayout();
    Probe modal(*backend, modalSpec);
    bool ownerEnabledInside = true;
    modal.钟.onTick = [&] {
        ownerEnabledInside = backend->isWindowEnabled(owner.id());
        modal.destroy();
    };
    modal.onCreated = [&] { modal.钟.setPeriod(50); };
    modal.load(true);
    EXPECT_FALSE(modal.isLoaded());
    EXPECT_FALSE(ownerEnabledInside);
    EXPECT_TRUE(backend->isWindowEnabled(owner.id()));
}

TEST_F(Contract, TrayIconEventsCarryTheirValues) {
    Probe& p = load();
    std::vector<int> values;
    p.onTrayEvent = [&](int v) { values.push_back(v); };
    std::vector<std::uint8_t> noIcon;
    p.setTrayIcon(noIcon, "");
    EXPECT_FALSE(backend->hasTrayIcon(p.id()));
    backend->userTrayMessage(p.id(), 0x0202);  // no icon, no event
    EXPECT_TRUE(values.empty());

    p.setTrayIcon(appIconData(), "岚翎多功能定时器");
    EXPECT_TRUE(backend->hasTrayIcon(p.id()));
    for (unsigned m : {0x0202u, 0x0203u, 0x0205u, 0x007Bu, 0x0200u, 0x0201u})
        backend->userTrayMessage(p.id(), m);
    EXPECT_EQ(values, (std::vector<int>{1, 2, 3, 3}));
    p.setTrayIcon(appIconData(), "");  // replacing keeps one icon
    EXPECT_TRUE(backend->hasTrayIcon(p.id()));
    std::vector<std::uint8_t> junk(appIconData().begin(), appIconData().begin() + 30);
    p.setTrayIcon(junk, "");  // bytes that make no icon count as none
    EXPECT_FALSE(backend->hasTrayIcon(p.id()));
}

// A window with the controls that have no visible part of their own, and a list view.
WindowSpec chooserLayout() {
    WindowSpec w;
    w.name = "Chooser";
    w.width = 240;
    w.height = 300;
    w.escCloses = true;
    auto& c = w.controls;
    ControlSpec list = control(ControlKind::ListView, "列表框", 8, 40, 220, 200);
    list.columns = {{"PID", 50}, {"映像名称", 150}};
    list.textColor = rgb(236, 236, 236);
    list.listBackColor = rgb(65, 65, 59);
    list.font = Font::gui();
    c.push_back(list);
    ControlSpec d = control(ControlKind::FileDialog, "对话框", 0, 0, 0, 0);
    d.visible = false;
    c.push_back(d);
    ControlSpec b = control(ControlKind::BalloonTip, "气球", 0, 0, 0, 0);
    b.visible = false;
    b.autoPopMs = 3000;
    b.initialMs = 600;
    b.balloonColors = {rgb(255, 255, 225)};
    c.push_back(b);
    ControlSpec field = control(ControlKind::EditBox, "文本", 8, 250, 100, 18);
    c.push_back(field);
    return w;
}

class Chooser : public Window {
  public:
    Chooser(Backend& b, const WindowSpec& s)
        : Window(b, s), 列表框(*this, "列表框"), 对话框(*this, "对话框"), 气球(*this, "气球") {}
    ListView 列表框;
    FileDialog 对话框;
    BalloonTip 气球;
};

class ChooserContract : public ::testing::Test {
  protected:
    void SetUp() override {
        backend = contract::makeBackend();
        layout = chooserLayout();
        chooser = std::make_unique<Chooser>(*backend, layout);
        chooser->load();
        backend->pump(0);
    }
    void TearDown() override {
        chooser.reset();
        backend.reset();
    }
    std::unique_ptr<Backend> backend;
    WindowSpec layout;
    std::unique_ptr<Chooser> chooser;
};

TEST_F(ChooserContract, ListRowsReadBackAndActivateByDoubleClickOrEnter) {
    ListView& list = chooser->列表框;
    EXPECT_EQ(list.rowCount(), 0);
    EXPECT_EQ(list.selectedIndex(), -1);
    list.addRow({"0", "[System Process]"});
    list.addRow({"4", "System"});
    list.addRow({"4242", "岚翎多功能定时器.exe"});
    ASSERT_EQ(list.rowCount(), 3);
    EXPECT_EQ(list.cell(2, 0), "4242");
    EXPECT_EQ(list.cell(2, 1), "岚翎多功能定时器.exe");
    EXPECT_EQ(list.cell(0, 1), "[System Process]");

    std::vector<int> activated;
    list.onItemActivated = [&] { activated.push_back(list.selectedIndex()); };
    backend->userClickRow(chooser->id(), list.index(), 1, false);
    EXPECT_EQ(list.selectedIndex(), 1);
    EXPECT_TRUE(activated.empty()) << "a single click only selects";
    backend->userClickRow(chooser->id(), list.index(), 2, true);
    backend->userPressEnter(chooser->id(), list.index());
    EXPECT_EQ(activated, (std::vector<int>{2, 2}));

    backend->userClickRow(chooser->id(), list.index(), -1, false);  // below the rows
    EXPECT_EQ(list.selectedIndex(), -1);
    list.clear();
    EXPECT_EQ(list.rowCount(), 0);
    EXPECT_EQ(list.selectedIndex(), -1);
}

TEST_F(ChooserContract, FileDialogOffersTheFileNameAndKeepsItOnCancel) {
    FileDialog& d = chooser->对话框;
    d.title = "请选择要运行的程序";
    d.filter = "可执行文件(*.exe)|*.exe|所有文件(*.*)|*.*|";
    d.defaultExtension = "exe";
    d.fileName = "旧程序.exe";
    FileDialogSeen seen;
    backend->userAnswerNextFileDialog("", &seen);
    EXPECT_FALSE(d.open());
    EXPECT_EQ(d.fileName, "旧程序.exe");
    ASSERT_TRUE(seen.opened);
    EXPECT_EQ(seen.title, "请选择要运行的程序");
    EXPECT_EQ(seen.fileName, "旧程序.exe");
    EXPECT_EQ(seen.filterNames, (std::vector<std::string>{"可执行文件(*.exe)", "所有文件(*.*)"}));
    EXPECT_FALSE(seen.ownerEnabled) << "the dialog is modal";
    EXPECT_TRUE(backend->isWindowEnabled(chooser->id()));
}

TEST_F(ChooserContract, FileDialogOkReplacesTheFileNameWithThePathChosen) {
    FileDialog& d = chooser->对话框;
    d.filter = "可执行文件(*.exe)|*.exe|";
    d.defaultExtension = "exe";
    d.fileName = "别的.exe";
    std::string path = contract::makeFile("岚翎样本.exe");
    FileDialogSeen seen;
    backend->userAnswerNextFileDialog(path, &seen);
    ASSERT_TRUE(d.open());
    EXPECT_EQ(seen.fileName, "别的.exe");
    EXPECT_EQ(d.fileName, path);
}

TEST_F(ChooserContract, BalloonPointsAtItsPointAndClosesAfterItsDisplayTime) {
    Rect screen = backend->screenRect();
    Point at{screen.width() / 2, screen.height() / 2};
    chooser->气球.popUp(at, "程序的PID值，可在任务管理器里查看");
    backend->pump(100);
    std::string text;
    Rect r;
    ASSERT_TRUE(backend->balloonShown(chooser->id(), chooser->气球.index(), &text, &r));
    EXPECT_EQ(text, "程序的PID值，可在任务管理器里查看");
    int dx = std::max({r.left - at.x, at.x - r.right, 0});
    int dy = std::max({r.top - at.y, at.y - r.bottom, 0});
    EXPECT_LE(std::max(dx, dy), 24)
        << "at " << r.left << "," << r.top << " .. " << r.right << "," << r.bottom;
    backend->pump(2700);
    EXPECT_TRUE(backend->balloonShown(chooser->id(), chooser->气球.index(), nullptr, nullptr));
    backend->pump(500);
    EXPECT_FALSE(backend->balloonShown(chooser->id(), chooser->气球.index(), nullptr, nullptr));
}

}  // namespace
