#pragma once

#include <cstdint>
#include <string>

// Date-times are stored as an 8-byte double: days since 1899-12-30 00:00, the fraction the
// time of day (also for negative days: -1.25 is 1899-12-29 06:00). All arithmetic is on the
// local calendar, in whole seconds.
namespace tkvDateTime {

struct Parts {
    int32_t Year = 1899;
    int32_t Month = 12;
    int32_t Day = 30;
    int32_t Hour = 0;
    int32_t Minute = 0;
    int32_t Second = 0;
};

// The zero date, 1899-12-30 00:00:00.
inline constexpr double kZeroDate = 0.0;

// Builds a date from parts; parts beyond their range roll over into the next unit (month 13
// is January of the next year, day 31 of April is 1 May, minute 60 the next hour). False when
// the result lies outside years 100 to 9999.
bool FromParts(const Parts& agParts, double& ouDate);

// The calendar parts of a date, rounded to whole seconds with the carry. False for a value
// outside years 100 to 9999 or not a number.
bool ToParts(double agDate, Parts& ouParts);

// Seconds since the zero date, counted linearly (unlike the stored double for negative days).
bool ToSerialSeconds(double agDate, int64_t& ouSeconds);
bool FromSerialSeconds(int64_t agSeconds, double& ouDate);

// Months added keep the day and the time of day; a day the month lacks becomes its last day.
bool AddMonths(double agDate, int64_t agMonths, double& ouDate);
bool AddSeconds(double agDate, int64_t agSeconds, double& ouDate);

// Weekday 1 (Sunday) to 7 (Saturday); 0 for a date that has no calendar form.
int32_t Weekday(double agDate);

// The current local date and time, whole seconds.
double Now();

// "2024/05/10 9:00:00"; the date alone at midnight.
std::string GeneralDateText(double agDate);

// "2024年5月10日", agGap after 年 and 月 ("2024年 5月 10日" with a blank); empty for a date that
// has no calendar form.
std::string JapaneseDateText(double agDate, const std::string& agGap = {});

}  // namespace tkvDateTime
