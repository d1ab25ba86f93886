// The date panel as the clock timer rewrites it, on the virtual clock.
#include <gtest/gtest.h>

#include <vector>

#include "app/application.h"
#include "platform/fake/recording_services.h"
#include "ui/headless/headless_backend.h"

namespace {

using platform::LocalTime;

struct Panel {
    std::string yearMonth, day, weekday, time, lunar;
};

Panel read(ui::MainWindow& w) {
    return {w.公年月.caption(), w.公日.caption(), w.星期.caption(), w.公时间.caption(),
            w.农时间.caption()};
}

class DatePanel : public ::testing::Test {
  protected:
    ui::HeadlessBackend backend;
    platform::RecordingServices services;
    std::vector<LocalTime> readings;  // served in order; the last one repeats
    size_t served = 0;
    std::function<void(size_t)> onReading;

    void SetUp() override {
        services.clock = [this] {
            if (onReading) onReading(served);
            LocalTime t = readings[std::min(served, readings.size() - 1)];
            ++served;
            return t;
        };
    }
};

TEST_F(DatePanel, ShowsTheDesignTextsForTheFirstSecondThenTheClock) {
    readings = {{2010, 3, 4, 5, 9, 5, 3}};
    app::Application a(backend, services);
    a.start();
    ui::MainWindow& w = a.mainWindow();
    backend.pump(999);
    Panel p = read(w);
    EXPECT_EQ(p.yearMonth, "2010年2月");
    EXPECT_EQ(p.day, "22");
    EXPECT_EQ(p.weekday, "星期六");
    EXPECT_EQ(p.time, "时间:");
    EXPECT_EQ(p.lunar, "透明标签");
    EXPECT_EQ(served, 0u);
    backend.pump(1);
    p = read(w);
    EXPECT_EQ(p.yearMonth, "2010年3月");
    EXPECT_EQ(p.day, "4");
    EXPECT_EQ(p.weekday, "星期四");
    EXPECT_EQ(p.time, "09:05:03");
    EXPECT_EQ(p.lunar, "农历:二零一零年正月十九");
    EXPECT_EQ(served, 8u);  // one reading per value
}

TEST_F(DatePanel, EachValueHasItsOwnReadingAndEachLabelIsWrittenAtOnce) {
    // The clock turns from 31 January to 1 February between the month and the day readings.
    LocalTime before{2010, 1, 31, 1, 23, 59, 59}, after{2010, 2, 1, 2, 0, 0, 0};
    readings = {before, before, after, after, after, after, after, after};
    app::Application a(backend, services);
    a.start();
    ui::MainWindow& w = a.mainWindow();
    std::vector<std::string> seenAtReading;
    onReading = [&](size_t n) {
        if (n == 2) seenAtReading.push_back(w.公年月.caption());  // before the day is read
        if (n == 7) seenAtReading.push_back(w.公时间.caption());  // before the lunar date
    };
    backend.pump(1000);
    EXPECT_EQ(seenAtReading, (std::vector<std::string>{"2010年1月", "00:00:00"}));
    Panel p = read(w);
    EXPECT_EQ(p.yearMonth, "2010年1月");
    EXPECT_EQ(p.day, "1");
    EXPECT_EQ(p.weekday, "星期一");
    EXPECT_EQ(p.lunar, "农历:二零零九年腊月十八");  // still lunar 2009
    // The next firing is consistent again.
    onReading = nullptr;
    backend.pump(1000);
    EXPECT_EQ(read(w).yearMonth, "2010年2月");
}

TEST_F(DatePanel, KeepsRewritingEverySecondWhileHiddenAndRefusesOutOfRangeDates) {
    readings = {{2049, 1, 1, 6, 0, 0, 0}};
    app::Application a(backend, services);
    a.start();
    ui::MainWindow& w = a.mainWindow();
    w.hide();
    backend.pump(3000);
    EXPECT_EQ(served, 24u);
    EXPECT_EQ(read(w).lunar, "农历:零零零零年月初零");
    EXPECT_EQ(read(w).weekday, "星期五");
    readings = {{2010, 2, 27, 0, 12, 0, 0}};  // a weekday number out of range shows blank
    served = 0;
    backend.pump(1000);
    EXPECT_EQ(read(w).weekday, "");
}

}  // namespace
