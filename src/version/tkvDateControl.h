#pragma once

#include <cstdint>

// Building and ordering date-times (days since 1899-12-30, the fraction the time of day).
namespace tkvDateControl {

// The date of (agYear, agMonth, agDay) plus the time of (agHour, agMinute, agSecond), parts
// beyond their range rolling over into the next unit (month 13 is January of the next year,
// day 31 of April is 1 May, minute 60 the next hour). Each part must fit 16 bits signed, and
// the result must lie in years 100 to 9999; otherwise false and ouDate is left unchanged.
bool MakeDateTime(int32_t agYear, int32_t agMonth, int32_t agDay, int32_t agHour, int32_t agMinute,
                  int32_t agSecond, double& ouDate);

// True when agDate lies after agThan. The stored doubles are not ordered before the zero date
// (-1.25 is later than -1.0), so dates are compared on the clock; a value without a calendar
// form is compared as a plain number.
bool IsLater(double agDate, double agThan);

}  // namespace tkvDateControl
