#include "clock/lunar.h"

#include <cstdint>

#include "clock/civil.h"
#include "clock/lunar_table.h"

namespace calendar {
namespace {

using detail::kFirstYear;
using detail::kLastYear;
using detail::kYears;

constexpr int kLeapShift = 13;
constexpr int kNewYearShift = 17;

int newYearDay(int lunarYear) {
    const std::uint32_t word = kYears[lunarYear - kFirstYear];
    return detail::daysFromCivil(lunarYear, 1, 1) + static_cast<int>(word >> kNewYearShift);
}

bool isValid(Date d) {
    return d.month >= 1 && d.month <= 12 && d.day >= 1 &&
           d.day <= detail::daysInMonth(d.year, d.month);
}

}  // namespace

bool toLunarDate(Date d, int& lunarYear, int& lunarMonth, int& lunarDay, bool& leap) {
    // The year bound comes first so day arithmetic never sees absurd years.
    if (d.year < kFirstYear || d.year > kLastYear || !isValid(d)) return false;
    const int today = detail::daysFromCivil(d.year, d.month, d.day);
    int year = d.year;
    if (today < newYearDay(year)) {
        if (year == kFirstYear) return false;  // before 1901-02-19
        --year;
    }
    const std::uint32_t word = kYears[year - kFirstYear];
    const int leapAfter = static_cast<int>((word >> kLeapShift) & 0xF);
    const int months = leapAfter ? 13 : 12;
    int offset = today - newYearDay(year);
    for (int i = 0; i < months; ++i) {
        const int length = 29 + static_cast<int>((word >> i) & 1);
        if (offset < length) {
            // Slots after the leap month are one ahead of their month number.
            const bool inLeap = leapAfter && i == leapAfter;
            lunarYear = year;
            lunarMonth = leapAfter && i >= leapAfter ? i : i + 1;
            lunarDay = offset + 1;
            leap = inLeap;
            return true;
        }
        offset -= length;
    }
    return false;  // unreachable while the table is consistent; the tests walk every day
}

std::string chineseNumerals(int n) {
    static const char* const kDigits[10] = {"零", "一", "二", "三", "四",
                                            "五", "六", "七", "八", "九"};
    if (n < 0 || n > 99) return "";
    if (n < 10) return kDigits[n];
    std::string text = std::string(kDigits[n / 10]) + "十";
    if (n % 10) text += kDigits[n % 10];
    return text;
}

std::string lunarYearText(int lunarYear) {
    const std::string digits = std::to_string(lunarYear);
    // A missing position (short years) or a non-digit reads as 0.
    auto at = [&](std::size_t i) {
        const char c = i < digits.size() ? digits[i] : '0';
        return chineseNumerals(c >= '0' && c <= '9' ? c - '0' : 0);
    };
    return at(0) + at(1) + at(2) + at(digits.size() - 1);
}

std::string lunarMonthText(int lunarMonth) {
    switch (lunarMonth) {
        case 1:
            return "正";
        case 10:
            return "十";
        case 11:
            return "十一";
        case 12:
            return "腊";
        default:
            return lunarMonth >= 2 && lunarMonth <= 9 ? chineseNumerals(lunarMonth) : "";
    }
}

std::string lunarDayText(int lunarDay) {
    if (lunarDay < 10) return "初" + chineseNumerals(lunarDay);  // negative: just "初"
    if (lunarDay == 10) return "初十";
    if (lunarDay < 20) {
        const std::string numeral = chineseNumerals(lunarDay);  // "一十一" -> "十一"
        return numeral.substr(numeral.size() - 4);
    }
    if (lunarDay == 20) return "二十";
    if (lunarDay < 30) return "廿" + chineseNumerals(lunarDay % 10);
    if (lunarDay == 30) return "三十";
    return "";
}

std::string lunarLine(Date d) {
    int year = 0, month = 0, day = 0;
    bool leap = false;
    toLunarDate(d, year, month, day, leap);  // on refusal the zeros are shown
    return "农历:" + lunarYearText(year) + "年" + lunarMonthText(month) + "月" + lunarDayText(day);
}

}  // namespace calendar
