// The lunar line and the rules for its pieces.
#include <gtest/gtest.h>

#include <climits>

#include "clock/lunar.h"
#include "gbk_print.h"

namespace {

using calendar::Date;

TEST(ChineseNumerals, DigitByDigitWithTensMarker) {
    const struct {
        int n;
        const char* text;
    } cases[] = {
        {0, "零"},      {1, "一"},      {2, "二"},      {3, "三"},      {4, "四"},
        {5, "五"},      {6, "六"},      {7, "七"},      {8, "八"},      {9, "九"},
        {10, "一十"},   {11, "一十一"}, {15, "一十五"}, {19, "一十九"}, {20, "二十"},
        {21, "二十一"}, {29, "二十九"}, {30, "三十"},   {31, "三十一"}, {99, "九十九"},
        {100, ""},      {-1, ""},       {INT_MIN, ""},  {INT_MAX, ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(calendar::chineseNumerals(c.n), c.text)
            << c.n << " gave " << readable(calendar::chineseNumerals(c.n));
    }
}

TEST(LunarPieces, YearUsesFirstThreeAndLastDigit) {
    const struct {
        int year;
        const char* text;
    } cases[] = {
        {2010, "二零一零"}, {1901, "一九零一"},  {2048, "二零四八"},
        {0, "零零零零"},  // short text: missing positions read as 0
        {7, "七零零七"},    {12345, "一二三五"}, {-5, "零五零五"},  // a '-' reads as 0
    };
    for (const auto& c : cases) {
        EXPECT_EQ(calendar::lunarYearText(c.year), c.text)
            << c.year << " gave " << readable(calendar::lunarYearText(c.year));
    }
}

TEST(LunarPieces, MonthNamesIgnoreAnythingOutsideTheYear) {
    const char* const names[] = {"",   "正", "二", "三", "四",   "五", "六",
                                 "七", "八", "九", "十", "十一", "腊", ""};
    for (int m = 0; m <= 13; ++m) {
        EXPECT_EQ(calendar::lunarMonthText(m), names[m])
            << m << " gave " << readable(calendar::lunarMonthText(m));
    }
    EXPECT_EQ(calendar::lunarMonthText(-1), "");
}

TEST(LunarPieces, DayNames) {
    const struct {
        int day;
        const char* text;
    } cases[] = {
        {0, "初零"},  {1, "初一"},  {9, "初九"},   {10, "初十"},    {11, "十一"}, {15, "十五"},
        {19, "十九"}, {20, "二十"}, {21, "廿一"},  {25, "廿五"},    {29, "廿九"}, {30, "三十"},
        {31, ""},     {-3, "初"},   {INT_MAX, ""}, {INT_MIN, "初"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(calendar::lunarDayText(c.day), c.text)
            << c.day << " gave " << readable(calendar::lunarDayText(c.day));
    }
}

TEST(LunarLine, FullTexts) {
    const struct {
        Date date;
        const char* text;
    } cases[] = {
        {{2010, 2, 22}, "农历:二零一零年正月初九"},
        {{2010, 2, 14}, "农历:二零一零年正月初一"},
        {{2010, 2, 13}, "农历:二零零九年腊月三十"},
        {{2010, 2, 23}, "农历:二零一零年正月初十"},
        {{2010, 2, 24}, "农历:二零一零年正月十一"},
        {{2010, 3, 5}, "农历:二零一零年正月二十"},
        {{2010, 3, 6}, "农历:二零一零年正月廿一"},
        {{2009, 5, 24}, "农历:二零零九年五月初一"},
        {{2009, 6, 23}, "农历:二零零九年五月初一"},  // leap 5th month reads the same
        {{2010, 11, 6}, "农历:二零一零年十月初一"},
        {{2010, 12, 31}, "农历:二零一零年十一月廿六"},
        {{2048, 12, 31}, "农历:二零四八年十一月廿七"},
        {{1901, 2, 19}, "农历:一九零一年正月初一"},
        {{1901, 2, 18}, "农历:零零零零年月初零"},
        {{2049, 1, 1}, "农历:零零零零年月初零"},
        {{2010, 2, 30}, "农历:零零零零年月初零"},
    };
    for (const auto& c : cases) {
        const std::string line = calendar::lunarLine(c.date);
        EXPECT_EQ(line, c.text) << c.date.year << "-" << c.date.month << "-" << c.date.day
                                << " gave " << readable(line) << ", want " << readable(c.text);
    }
}

}  // namespace
