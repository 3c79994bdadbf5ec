#include "tkvDateTime.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace tkvDateTime {

namespace {

using std::chrono::days;
using std::chrono::sys_days;
using std::chrono::year_month_day;

constexpr int64_t kSecondsPerDay = 86400;

sys_days ZeroDay() { return sys_days(std::chrono::year{1899} / std::chrono::December / 30); }

bool InRange(const year_month_day& agDay) {
    const int year = static_cast<int>(agDay.year());
    return year >= 100 && year <= 9999;
}

// The calendar day and the second of that day at a linear second count.
year_month_day DayOf(int64_t agSeconds, int64_t& ouSecondOfDay) {
    int64_t dayIndex = agSeconds / kSecondsPerDay;
    ouSecondOfDay = agSeconds % kSecondsPerDay;
    if (ouSecondOfDay < 0) {
        ouSecondOfDay += kSecondsPerDay;
        --dayIndex;
    }
    return year_month_day(ZeroDay() + days(dayIndex));
}

}  // namespace

bool FromSerialSeconds(int64_t agSeconds, double& ouDate) {
    int64_t secondOfDay = 0;
    const year_month_day day = DayOf(agSeconds, secondOfDay);
    if (!InRange(day)) {
        return false;
    }
    const int64_t dayIndex = (sys_days(day) - ZeroDay()).count();
    const double fraction = static_cast<double>(secondOfDay) / kSecondsPerDay;
    ouDate = dayIndex >= 0 ? static_cast<double>(dayIndex) + fraction
                           : static_cast<double>(dayIndex) - fraction;
    return true;
}

bool ToSerialSeconds(double agDate, int64_t& ouSeconds) {
    // The representable range is a few million days; anything beyond is damage.
    if (!std::isfinite(agDate) || std::fabs(agDate) > 3.0e6) {
        return false;
    }
    const double dayPart = std::trunc(agDate);
    const double fraction = std::fabs(agDate - dayPart);
    const int64_t seconds =
        static_cast<int64_t>(dayPart) * kSecondsPerDay + std::llround(fraction * kSecondsPerDay);
    int64_t secondOfDay = 0;
    if (!InRange(DayOf(seconds, secondOfDay))) {
        return false;
    }
    ouSeconds = seconds;
    return true;
}

bool FromParts(const Parts& agParts, double& ouDate) {
    using namespace std::chrono;
    // Keep the calendar types inside their range; the result is checked afterwards.
    if (std::abs(agParts.Year) > 30000 || std::abs(agParts.Month) > 120000 ||
        std::abs(agParts.Day) > 4000000) {
        return false;
    }
    const year_month firstMonth = year{agParts.Year} / January + months(agParts.Month - 1);
    const sys_days day = sys_days(firstMonth / 1) + days(agParts.Day - 1);
    const int64_t seconds = (day - ZeroDay()).count() * kSecondsPerDay +
                            int64_t{agParts.Hour} * 3600 + int64_t{agParts.Minute} * 60 +
                            agParts.Second;
    return FromSerialSeconds(seconds, ouDate);
}

bool ToParts(double agDate, Parts& ouParts) {
    int64_t seconds = 0;
    if (!ToSerialSeconds(agDate, seconds)) {
        return false;
    }
    int64_t secondOfDay = 0;
    const year_month_day day = DayOf(seconds, secondOfDay);
    ouParts.Year = static_cast<int>(day.year());
    ouParts.Month = static_cast<int32_t>(static_cast<unsigned>(day.month()));
    ouParts.Day = static_cast<int32_t>(static_cast<unsigned>(day.day()));
    ouParts.Hour = static_cast<int32_t>(secondOfDay / 3600);
    ouParts.Minute = static_cast<int32_t>(secondOfDay / 60 % 60);
    ouParts.Second = static_cast<int32_t>(secondOfDay % 60);
    return true;
}

bool AddMonths(double agDate, int64_t agMonths, double& ouDate) {
    using namespace std::chrono;
    Parts parts;
    if (!ToParts(agDate, parts) || agMonths > 120000 || agMonths < -120000) {
        return false;
    }
    const year_month target =
        year{parts.Year} / month{static_cast<unsigned>(parts.Month)} + months(agMonths);
    const unsigned lastDay = static_cast<unsigned>((target / last).day());
    parts.Year = static_cast<int>(target.year());
    parts.Month = static_cast<int32_t>(static_cast<unsigned>(target.month()));
    parts.Day = static_cast<int32_t>(std::min(static_cast<unsigned>(parts.Day), lastDay));
    return FromParts(parts, ouDate);
}

bool AddSeconds(double agDate, int64_t agSeconds, double& ouDate) {
    int64_t seconds = 0;
    if (!ToSerialSeconds(agDate, seconds) || agSeconds > kSecondsPerDay * 4000000 ||
        agSeconds < -kSecondsPerDay * 4000000) {
        return false;
    }
    return FromSerialSeconds(seconds + agSeconds, ouDate);
}

int32_t Weekday(double agDate) {
    int64_t seconds = 0;
    if (!ToSerialSeconds(agDate, seconds)) {
        return 0;
    }
    int64_t secondOfDay = 0;
    const std::chrono::weekday day{sys_days(DayOf(seconds, secondOfDay))};
    return static_cast<int32_t>(day.c_encoding()) + 1;
}

double Now() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    ::localtime_r(&now, &local);
    Parts parts{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                local.tm_hour,        local.tm_min,     local.tm_sec};
    double date = kZeroDate;
    FromParts(parts, date);
    return date;
}

std::string GeneralDateText(double agDate) {
    Parts parts;
    char text[64];
    if (!ToParts(agDate, parts)) {
        std::snprintf(text, sizeof text, "%.17g", agDate);
        return text;
    }
    if (parts.Hour == 0 && parts.Minute == 0 && parts.Second == 0) {
        std::snprintf(text, sizeof text, "%04d/%02d/%02d", parts.Year, parts.Month, parts.Day);
    } else {
        std::snprintf(text, sizeof text, "%04d/%02d/%02d %d:%02d:%02d", parts.Year, parts.Month,
                      parts.Day, parts.Hour, parts.Minute, parts.Second);
    }
    return text;
}

std::string JapaneseDateText(double agDate, const std::string& agGap) {
    Parts parts;
    if (!ToParts(agDate, parts)) {
        return {};
    }
    return std::to_string(parts.Year) + "年" + agGap + std::to_string(parts.Month) + "月" + agGap +
           std::to_string(parts.Day) + "日";
}

}  // namespace tkvDateTime
