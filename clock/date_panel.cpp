#include "clock/date_panel.h"

#include "clock/civil.h"

namespace calendar {

std::string weekdayName(int weekday) {
    static const char* const kNames[7] = {"星期日", "星期一", "星期二", "星期三",
                                          "星期四", "星期五", "星期六"};
    if (weekday < 1 || weekday > 7) return "";
    return kNames[weekday - 1];
}

std::string yearMonthText(int year, int month) {
    return std::to_string(year) + "年" + std::to_string(month) + "月";
}

std::string twoDigits(int v) {
    const std::string s = "00" + std::to_string(v);
    return s.substr(s.size() - 2);
}

std::string clockText(int h, int m, int s) {
    return twoDigits(h) + ":" + twoDigits(m) + ":" + twoDigits(s);
}

int weekdayOf(Date d) {
    // 1970-01-01 was a Thursday (5); the modulo is kept non-negative for earlier dates.
    const int days = detail::daysFromCivil(d.year, d.month, d.day);
    return ((days % 7 + 7) % 7 + 4) % 7 + 1;
}

}  // namespace calendar
