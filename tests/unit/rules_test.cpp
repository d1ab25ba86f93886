#include "ui/rules.h"

#include "ui/art.h"

#include <gtest/gtest.h>

namespace ui {
namespace {

TEST(IntegerInput, TakesDigitsMinusAndControlKeysOnly) {
    for (unsigned ch : {0x30u, 0x35u, 0x39u, 0x2Du, 0x08u, 0x01u, 0x1Fu})
        EXPECT_TRUE(integerInputAccepts(ch)) << ch;
    for (unsigned ch : {0x61u, 0x2Eu, 0x20u, 0x2Bu, 0x5Au, 0x7Fu, 0xA3u})
        EXPECT_FALSE(integerInputAccepts(ch)) << ch;
}

TEST(EditInput, TimeFieldRefusesAThirdCharacterUnlessSelectionIsReplaced) {
    ControlSpec s;
    s.kind = ControlKind::EditBox;
    s.input = InputMode::Integer;
    s.maxLength = 2;
    EXPECT_TRUE(editAcceptsChar(s, "5", 0, '7'));
    EXPECT_FALSE(editAcceptsChar(s, "57", 0, '1'));
    EXPECT_TRUE(editAcceptsChar(s, "57", 2, '1'));  // select-all then type
    EXPECT_TRUE(editAcceptsChar(s, "57", 0, '\b'));
    s.input = InputMode::ReadOnly;
    EXPECT_FALSE(editAcceptsChar(s, "", 0, '1'));
}

TEST(LeadingInt, ReadsLikeTheCRuntime) {
    struct Case {
        const char* text;
        int value;
    } cases[] = {{"", 0},   {"00", 0}, {" 12", 12}, {"12ab", 12},  {"-5", -5},
                 {"+7", 7}, {"ab", 0}, {"-", 0},    {"\t\n 3", 3}, {"4294967297", 1}};
    for (const Case& c : cases) EXPECT_EQ(leadingInt(c.text), c.value) << c.text;
}

TEST(UpDown, StepsAndWrapsAtTheBounds) {
    struct Case {
        const char* text;
        bool up;
        int hi;
        const char* next;
    } cases[] = {{"59", true, 59, "0"},   {"00", false, 59, "59"}, {"24", true, 24, "0"},
                 {"00", false, 24, "24"}, {"00", true, 24, "1"},   {"7", false, 59, "6"},
                 {"", true, 59, "1"},     {"-3", true, 59, "59"},  {"99", false, 59, "0"}};
    for (const Case& c : cases) EXPECT_EQ(upDownStep(c.text, c.up, 0, c.hi), c.next) << c.text;
}

TEST(TimerSchedule, FiresOnTheGridAndSkipsWhatWasMissed) {
    TimerSchedule t;
    t.begin(1000, 1000);
    EXPECT_EQ(t.nextDue, 2000);
    EXPECT_EQ(t.advance(2037), 3000);  // late firing does not push the grid
    EXPECT_EQ(t.advance(3001), 4000);
    EXPECT_EQ(t.advance(7500), 8000);  // blocked 3.5 s: the missed firings are not made up
}

TEST(TrayEvents, MapMouseMessagesToValues) {
    EXPECT_EQ(trayEventValue(0x0202), 1);
    EXPECT_EQ(trayEventValue(0x0203), 2);
    EXPECT_EQ(trayEventValue(0x0205), 3);
    EXPECT_EQ(trayEventValue(0x007B), 3);
    EXPECT_EQ(trayEventValue(0x0201), 0);
    EXPECT_EQ(trayEventValue(0x0200), 0);
}

}  // namespace
}  // namespace ui

namespace {
TEST(AppIcon, IsOne48x48ImageWith256Colours) {
    const auto& ico = ui::appIconData();
    ASSERT_EQ(ico.size(), 3774u);
    auto u16 = [&](size_t at) { return ico[at] | ico[at + 1] << 8; };
    EXPECT_EQ(u16(2), 1);  // icon
    EXPECT_EQ(u16(4), 1);  // one image
    EXPECT_EQ(ico[6], 48);
    EXPECT_EQ(ico[7], 48);
    EXPECT_EQ(u16(6 + 6), 8);  // bits per pixel
}
}  // namespace
