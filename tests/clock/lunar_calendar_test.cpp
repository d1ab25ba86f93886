// Gregorian -> lunar conversion over the whole supported range.
#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "clock/lunar.h"

extern const unsigned char lunarNewYearsDigest[];
extern const unsigned lunarNewYearsDigestSize;

namespace {

using calendar::Date;

struct Lunar {
    int year, month, day;
    bool leap;
    bool operator==(const Lunar& o) const {
        return year == o.year && month == o.month && day == o.day && leap == o.leap;
    }
};

std::string show(Date d) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", d.year, d.month, d.day);
    return buf;
}

std::string show(const Lunar& l) {
    char buf[48];
    std::snprintf(buf, sizeof buf, "%d/%s%d/%d", l.year, l.leap ? "leap " : "", l.month, l.day);
    return buf;
}

bool convert(Date d, Lunar& out) {
    return calendar::toLunarDate(d, out.year, out.month, out.day, out.leap);
}

bool isLeapYear(int y) {
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

Date next(Date d) {
    static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const int last = d.month == 2 && isLeapYear(d.year) ? 29 : kDays[d.month - 1];
    if (++d.day > last) {
        d.day = 1;
        if (++d.month > 12) {
            d.month = 1;
            ++d.year;
        }
    }
    return d;
}

bool operator<=(Date a, Date b) {
    if (a.year != b.year) return a.year < b.year;
    if (a.month != b.month) return a.month < b.month;
    return a.day <= b.day;
}

constexpr Date kFirst{1901, 2, 19};
constexpr Date kLast{2048, 12, 31};

TEST(ToLunarDate, RefusesInvalidAndOutOfRangeDatesWithoutTouchingOutputs) {
    const Date refused[] = {
        {1901, 2, 18}, {1900, 12, 31}, {1, 1, 1},     {2049, 1, 1},    {2049, 2, 1},
        {99999, 6, 1}, {-2010, 2, 22}, {2010, 0, 1},  {2010, 13, 1},   {2010, 1, 0},
        {2010, 1, 32}, {2010, 2, 29},  {2010, 2, 30}, {2010, 4, 31},   {2000, 2, 30},
        {1900, 2, 29}, {2010, -1, 5},  {2010, 5, -1}, {INT_MAX, 1, 1}, {INT_MIN, 1, 1},
    };
    for (const Date& d : refused) {
        Lunar out{-7, -7, -7, true};
        EXPECT_FALSE(convert(d, out)) << show(d);
        EXPECT_TRUE(out == (Lunar{-7, -7, -7, true})) << show(d) << " wrote " << show(out);
    }
    Lunar out{};
    EXPECT_TRUE(convert({2000, 2, 29}, out));  // a real leap day is fine
    EXPECT_TRUE(convert({2048, 2, 29}, out));
}

// Dates where published tables are known to differ from each other, plus the ends of the
// range; values checked against the references by tools/lunar/verify.sh.
TEST(ToLunarDate, DisputedAndBoundaryDays) {
    const struct {
        Date date;
        Lunar lunar;
    } cases[] = {
        {kFirst, {1901, 1, 1, false}},
        {kLast, {2048, 11, 27, false}},
        {{1906, 4, 23}, {1906, 3, 30, false}},  // conjunction minutes before midnight
        {{1906, 4, 24}, {1906, 4, 1, false}},
        {{1914, 11, 17}, {1914, 10, 1, false}},  // Beijing time before 1929, not 120°E
        {{1916, 2, 3}, {1916, 1, 1, false}},
        {{1920, 11, 10}, {1920, 10, 1, false}},
        {{1928, 12, 31}, {1928, 11, 20, false}},
        {{1929, 1, 1}, {1928, 11, 21, false}},
        {{1954, 12, 25}, {1954, 12, 1, false}},
        {{1955, 1, 23}, {1954, 12, 30, false}},
        {{1955, 1, 24}, {1955, 1, 1, false}},
        {{1987, 6, 26}, {1987, 6, 1, false}},
        {{1987, 7, 26}, {1987, 6, 1, true}},
        {{2009, 5, 24}, {2009, 5, 1, false}},
        {{2009, 6, 23}, {2009, 5, 1, true}},
        {{2009, 7, 22}, {2009, 6, 1, false}},
        {{2025, 11, 20}, {2025, 10, 1, false}},
        {{2026, 1, 18}, {2025, 11, 30, false}},
        {{2026, 1, 19}, {2025, 12, 1, false}},
        {{2033, 8, 25}, {2033, 8, 1, false}},  // leap month 11 in 2033, not 7
        {{2033, 11, 22}, {2033, 11, 1, false}},
        {{2033, 12, 22}, {2033, 11, 1, true}},
        {{2034, 1, 20}, {2033, 12, 1, false}},
        {{2034, 2, 18}, {2033, 12, 30, false}},
        {{2034, 2, 19}, {2034, 1, 1, false}},
    };
    for (const auto& c : cases) {
        Lunar got{};
        ASSERT_TRUE(convert(c.date, got)) << show(c.date);
        EXPECT_TRUE(got == c.lunar)
            << show(c.date) << ": got " << show(got) << ", want " << show(c.lunar);
    }
}

TEST(ToLunarDate, NewYearSample) {
    const Date newYears[] = {
        {1901, 2, 19}, {1912, 2, 18}, {1915, 2, 14}, {1916, 2, 3},  {1920, 2, 20},
        {1929, 2, 10}, {1949, 1, 29}, {1955, 1, 24}, {1966, 1, 21}, {1976, 1, 31},
        {1985, 2, 20}, {1987, 1, 29}, {2000, 2, 5},  {2001, 1, 24}, {2004, 1, 22},
        {2010, 2, 14}, {2020, 1, 25}, {2023, 1, 22}, {2024, 2, 10}, {2025, 1, 29},
        {2026, 2, 17}, {2033, 1, 31}, {2034, 2, 19}, {2040, 2, 12}, {2048, 2, 14},
    };
    for (const Date& d : newYears) {
        Lunar got{};
        ASSERT_TRUE(convert(d, got)) << show(d);
        EXPECT_TRUE(got == (Lunar{d.year, 1, 1, false})) << show(d) << ": " << show(got);
    }
}

// Calendar rules that any correct table obeys, checked on every day of the range.
TEST(ToLunarDate, WholeRangeFollowsCalendarRules) {
    Lunar prev{};
    ASSERT_TRUE(convert(kFirst, prev));
    int days = 1, monthStarts = 1, run30 = 0, run29 = 0, leapMonthsThisYear = 0;
    int monthLength = 1;
    std::string failures;
    auto fail = [&](Date d, const std::string& why) {
        if (failures.size() < 2000) failures += show(d) + ": " + why + "\n";
    };
    for (Date d = next(kFirst); d <= kLast; d = next(d), ++days) {
        Lunar cur{};
        if (!convert(d, cur)) {
            fail(d, "refused");
            continue;
        }
        if (cur.day != 1) {
            if (!(cur == Lunar{prev.year, prev.month, prev.day + 1, prev.leap}))
                fail(d, show(cur) + " after " + show(prev));
            ++monthLength;
            prev = cur;
            continue;
        }
        // A new month: the one that just ended has 29 or 30 days ...
        if (monthLength != 29 && monthLength != 30)
            fail(d, "month before lasted " + std::to_string(monthLength) + " days");
        // ... and no more than four long or three short months come in a row.
        run30 = monthLength == 30 ? run30 + 1 : 0;
        run29 = monthLength == 29 ? run29 + 1 : 0;
        if (run30 > 4 || run29 > 3) fail(d, "too many months of one length in a row");
        const bool leapFollows =
            cur.leap && !prev.leap && cur.year == prev.year && cur.month == prev.month;
        const bool nextMonth = !cur.leap && cur.year == prev.year && cur.month == prev.month + 1;
        const bool newYear =
            !cur.leap && cur.year == prev.year + 1 && cur.month == 1 && prev.month == 12;
        if (!leapFollows && !nextMonth && !newYear) fail(d, show(cur) + " after " + show(prev));
        if (newYear) {
            leapMonthsThisYear = 0;
            const bool inWindow = (d.month == 1 && d.day >= 21) || (d.month == 2 && d.day <= 20);
            if (!inWindow || d.year != cur.year) fail(d, "new year outside 21 Jan .. 20 Feb");
        }
        if (cur.leap && ++leapMonthsThisYear > 1) fail(d, "second leap month in a year");
        ++monthStarts;
        monthLength = 1;
        prev = cur;
    }
    EXPECT_EQ(failures, "");
    EXPECT_EQ(days, 54008);
    // The mean synodic month is 29.530589 days: 54008 days hold 1828.9 of them.
    EXPECT_NEAR(monthStarts, 54008 / 29.530589, 1.0);
}

// The digest holds, per lunar year, its first day, leap month and month lengths as given
// by the primary reference (see tools/lunar/verify.sh).  Expanding it day by day checks
// every conversion of the range without needing the reference itself.
TEST(ToLunarDate, MatchesReferenceDigestOnEveryDay) {
    std::istringstream in(
        std::string(reinterpret_cast<const char*>(lunarNewYearsDigest), lunarNewYearsDigestSize));
    std::string line;
    Date day = kFirst;
    int years = 0, checked = 0, mismatches = 0;
    std::string shown;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream fields(line);
        int year = 0, leapAfter = 0;
        std::string start;
        fields >> year >> start >> leapAfter;
        std::vector<int> lengths;
        for (int n; fields >> n;) lengths.push_back(n);
        ASSERT_EQ(year, 1901 + years) << line;
        ASSERT_EQ(lengths.size(), leapAfter ? 13u : 12u) << line;
        // Each year begins the day after the previous one ends.
        ASSERT_EQ(start, show(day)) << "digest is not contiguous at " << year;
        ++years;
        for (std::size_t i = 0; i < lengths.size(); ++i) {
            const int slot = static_cast<int>(i);
            const Lunar month{year, leapAfter && slot >= leapAfter ? slot : slot + 1, 0,
                              leapAfter && slot == leapAfter};
            for (int dd = 1; dd <= lengths[i]; ++dd, day = next(day)) {
                if (!(day <= kLast)) continue;  // the last lunar year runs into 2049
                Lunar want = month;
                want.day = dd;
                Lunar got{};
                ++checked;
                if (!convert(day, got) || !(got == want)) {
                    if (++mismatches <= 10)
                        shown += show(day) + ": got " + show(got) + ", want " + show(want) + "\n";
                }
            }
        }
    }
    EXPECT_EQ(years, 148);
    EXPECT_EQ(checked, 54008);
    EXPECT_EQ(mismatches, 0) << shown;
}

}  // namespace
