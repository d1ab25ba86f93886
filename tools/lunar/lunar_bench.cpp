// Cost of the lunar conversion at its worst case (the last supported day, which walks the
// most months of the latest year) and the size of the calendar data.  Figures only.
#include <chrono>
#include <cstdio>
#include <string>

#include "clock/lunar.h"
#include "clock/lunar_table.h"

namespace {

template <typename F>
double nanosPerCall(long iterations, F&& f) {
    const auto start = std::chrono::steady_clock::now();
    for (long i = 0; i < iterations; ++i) f(i);
    const std::chrono::duration<double, std::nano> spent = std::chrono::steady_clock::now() - start;
    return spent.count() / static_cast<double>(iterations);
}

}  // namespace

int main() {
    // A volatile day keeps the compiler from folding the calls into constants.
    volatile int lastDay = 31;
    long sink = 0;

    const double convert = nanosPerCall(20000000, [&](long) {
        int y = 0, m = 0, d = 0;
        bool leap = false;
        calendar::toLunarDate({2048, 12, lastDay}, y, m, d, leap);
        sink += y + m + d + leap;
    });
    const double line = nanosPerCall(2000000, [&](long) {
        sink += static_cast<long>(calendar::lunarLine({2048, 12, lastDay}).size());
    });
    // Every day of the range in turn, as a typical mix.
    const double mixed = nanosPerCall(20000000, [&](long i) {
        const int days = static_cast<int>(i % 54008);
        int y = 0, m = 0, d = 0;
        bool leap = false;
        calendar::toLunarDate({1901 + days / 366, 1 + days % 12, 1 + days % 28}, y, m, d, leap);
        sink += d;
    });

    std::printf("toLunarDate(2048-12-31): %.1f ns/call\n", convert);
    std::printf("lunarLine(2048-12-31):   %.1f ns/call\n", line);
    std::printf("toLunarDate(mixed days): %.1f ns/call\n", mixed);
    std::printf("calendar table: %zu bytes (%zu years)\n", sizeof(calendar::detail::kYears),
                sizeof(calendar::detail::kYears) / sizeof(calendar::detail::kYears[0]));
    std::printf("(checksum %ld)\n", sink);
    return 0;
}
