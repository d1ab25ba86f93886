#include "app/date_panel.h"

#include "clock/date_panel.h"
#include "clock/lunar.h"

namespace app {

void updateDatePanel(ui::MainWindow& w, platform::Services& clock) {
    int year = clock.localTime().year;
    int month = clock.localTime().month;
    w.公年月.setCaption(calendar::yearMonthText(year, month));
    w.公日.setCaption(std::to_string(clock.localTime().day));
    w.星期.setCaption(calendar::weekdayName(clock.localTime().weekday));
    int hour = clock.localTime().hour;
    int minute = clock.localTime().minute;
    int second = clock.localTime().second;
    w.公时间.setCaption(calendar::clockText(hour, minute, second));
    platform::LocalTime today = clock.localTime();
    w.农时间.setCaption(calendar::lunarLine({today.year, today.month, today.day}));
}

}  // namespace app
