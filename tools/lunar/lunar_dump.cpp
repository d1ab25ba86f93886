// Prints our lunar date for every Gregorian day of the supported range, one line a day:
//   YYYY-MM-DD <lunar year> <month> <day> <leap 0|1>
// verify.sh compares this against the references.
#include <cstdio>

#include "clock/civil.h"
#include "clock/lunar.h"

int main() {
    using calendar::detail::daysInMonth;
    calendar::Date d{1901, 2, 19};
    while (d.year <= 2048) {
        int year = 0, month = 0, day = 0;
        bool leap = false;
        if (calendar::toLunarDate(d, year, month, day, leap)) {
            std::printf("%04d-%02d-%02d %d %d %d %d\n", d.year, d.month, d.day, year, month, day,
                        leap ? 1 : 0);
        } else {
            std::printf("%04d-%02d-%02d refused\n", d.year, d.month, d.day);
        }
        if (++d.day > daysInMonth(d.year, d.month)) {
            d.day = 1;
            if (++d.month > 12) {
                d.month = 1;
                ++d.year;
            }
        }
    }
    return 0;
}
