#include "clock/date_panel.h"

#include <gtest/gtest.h>

#include "gbk_print.h"

namespace {

using calendar::Date;

TEST(WeekdayName, NamesSundayThroughSaturdayAndNothingElse) {
    const struct {
        int weekday;
        const char* name;
    } cases[] = {{1, "星期日"}, {2, "星期一"}, {3, "星期二"}, {4, "星期三"}, {5, "星期四"},
                 {6, "星期五"}, {7, "星期六"}, {0, ""},       {8, ""},       {-1, ""}};
    for (const auto& c : cases) {
        EXPECT_EQ(calendar::weekdayName(c.weekday), c.name)
            << c.weekday << " gave " << readable(calendar::weekdayName(c.weekday));
    }
}

TEST(YearMonthText, PlainDecimalsWithoutPadding) {
    EXPECT_EQ(calendar::yearMonthText(2010, 2), "2010年2月");
    EXPECT_EQ(calendar::yearMonthText(2048, 12), "2048年12月");
    EXPECT_EQ(sizeof("年") - 1, 2u) << "literals must be compiled as GBK";
}

TEST(ClockText, PadsEachFieldToTwoDigits) {
    EXPECT_EQ(calendar::twoDigits(0), "00");
    EXPECT_EQ(calendar::twoDigits(5), "05");
    EXPECT_EQ(calendar::twoDigits(12), "12");
    EXPECT_EQ(calendar::twoDigits(123), "23");  // keeps the right-most two bytes
    EXPECT_EQ(calendar::clockText(9, 5, 3), "09:05:03");
    EXPECT_EQ(calendar::clockText(0, 0, 0), "00:00:00");
    EXPECT_EQ(calendar::clockText(23, 59, 59), "23:59:59");
}

TEST(WeekdayOf, KnownDates) {
    const struct {
        Date date;
        int weekday;
    } cases[] = {
        {{1901, 2, 19}, 3},  // Tuesday: first lunar day supported
        {{1969, 12, 31}, 4}, {{1970, 1, 1}, 5}, {{2000, 2, 29}, 3},  {{2010, 2, 22}, 2},
        {{2010, 2, 28}, 1},  {{2010, 3, 6}, 7}, {{2048, 12, 31}, 5}, {{1900, 3, 1}, 5},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(calendar::weekdayOf(c.date), c.weekday)
            << c.date.year << "-" << c.date.month << "-" << c.date.day;
    }
}

}  // namespace
