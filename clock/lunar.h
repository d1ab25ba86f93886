#pragma once

#include <string>

#include "clock/date_panel.h"

// Chinese lunar calendar for Gregorian 1901-02-19 (lunar 1901, month 1, day 1) to 2048-12-31.

namespace calendar {

// Converts d.  The lunar year is the Gregorian year in which that lunar year begins; a leap
// month carries the number of the month it follows and sets leap.  Returns false, leaving
// all outputs untouched, for invalid dates and dates outside the supported range.
bool toLunarDate(Date d, int& lunarYear, int& lunarMonth, int& lunarDay, bool& leap);

// Digit-by-digit numerals: 0 "零" .. 9 "九", 10 "一十", 11 "一十一", 20 "二十", 99 "九十九".
// Anything outside 0..99 gives "".
std::string chineseNumerals(int n);

// The parts of lunarLine, exposed so their rules can be checked on their own.
std::string lunarYearText(int lunarYear);    // 2010 -> "二零一零"
std::string lunarMonthText(int lunarMonth);  // 1 "正" .. 12 "腊"; other values ""
std::string lunarDayText(int lunarDay);      // 1 "初一" .. 30 "三十"; above 30 ""

// "农历:二零一零年正月初九".  Dates that cannot be converted read as year 0, month 0, day 0:
// "农历:零零零零年月初零".
std::string lunarLine(Date d);

}  // namespace calendar
