#pragma once

#include <string>

// Texts shown on the date panel.  All text is GBK, like every literal in the program.

namespace calendar {

struct Date {  // Gregorian
    int year;
    int month;
    int day;
};

// 1 = Sunday .. 7 = Saturday; any other value gives "".
std::string weekdayName(int weekday);

// "2010年2月": plain decimal numbers, no padding.
std::string yearMonthText(int year, int month);

// The last two bytes of "00" followed by the decimal text of v: 5 -> "05", 12 -> "12".
std::string twoDigits(int v);

// "hh:mm:ss" built from twoDigits.
std::string clockText(int h, int m, int s);

// 1 = Sunday .. 7 = Saturday.  d must be a valid Gregorian date.
int weekdayOf(Date d);

}  // namespace calendar
