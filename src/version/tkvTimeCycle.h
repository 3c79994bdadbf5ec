#pragma once

#include <cstdint>

#include "tkvDateTime.h"

// The time after a number of cycles from a base time, on the local calendar. Mode 1 finds the
// next occurrence of a specified time (every n years, months, weeks, days, hours or minutes);
// mode 2 adds fixed amounts of calendar time.
//
// Arithmetic that leaves 32 bits (an amount times CycleCount) or the calendar (years 100 to
// 9999) makes GetTimeAfterCycle answer false; nothing here raises.
class tkvTimeCycle {
public:
    // CycleMode values.
    static constexpr int32_t kSpecifiedTime = 1;
    static constexpr int32_t kAddAmounts = 2;

    // RangeOfSpecifiedTime values.
    static constexpr int32_t kYearly = 1;
    static constexpr int32_t kMonthly = 2;
    static constexpr int32_t kWeekly = 3;
    static constexpr int32_t kDaily = 4;
    static constexpr int32_t kHourly = 5;
    static constexpr int32_t kEveryMinute = 6;

    int32_t CycleMode() const { return cycleMode_; }
    void SetCycleMode(int32_t agValue) { cycleMode_ = agValue; }
    int32_t RangeOfSpecifiedTime() const { return rangeOfSpecifiedTime_; }
    void SetRangeOfSpecifiedTime(int32_t agValue) { rangeOfSpecifiedTime_ = agValue; }
    int32_t SpecifiedCount() const { return specifiedCount_; }
    void SetSpecifiedCount(int32_t agValue) { specifiedCount_ = agValue; }
    int32_t SpecifiedMonth() const { return specifiedMonth_; }
    void SetSpecifiedMonth(int32_t agValue) { specifiedMonth_ = agValue; }
    // A weekday, 1 (Sunday) to 7 (Saturday).
    int32_t SpecifiedWeek() const { return specifiedWeek_; }
    void SetSpecifiedWeek(int32_t agValue) { specifiedWeek_ = agValue; }
    int32_t SpecifiedDay() const { return specifiedDay_; }
    void SetSpecifiedDay(int32_t agValue) { specifiedDay_ = agValue; }
    int32_t SpecifiedHour() const { return specifiedHour_; }
    void SetSpecifiedHour(int32_t agValue) { specifiedHour_ = agValue; }
    int32_t SpecifiedMinute() const { return specifiedMinute_; }
    void SetSpecifiedMinute(int32_t agValue) { specifiedMinute_ = agValue; }
    int32_t SpecifiedSecond() const { return specifiedSecond_; }
    void SetSpecifiedSecond(int32_t agValue) { specifiedSecond_ = agValue; }

    int32_t YearToAdd() const { return yearToAdd_; }
    void SetYearToAdd(int32_t agValue) { yearToAdd_ = agValue; }
    int32_t MonthToAdd() const { return monthToAdd_; }
    void SetMonthToAdd(int32_t agValue) { monthToAdd_ = agValue; }
    int32_t DayToAdd() const { return dayToAdd_; }
    void SetDayToAdd(int32_t agValue) { dayToAdd_ = agValue; }
    int32_t HourToAdd() const { return hourToAdd_; }
    void SetHourToAdd(int32_t agValue) { hourToAdd_ = agValue; }
    int32_t MinuteToAdd() const { return minuteToAdd_; }
    void SetMinuteToAdd(int32_t agValue) { minuteToAdd_ = agValue; }
    int32_t SecondToAdd() const { return secondToAdd_; }
    void SetSecondToAdd(int32_t agValue) { secondToAdd_ = agValue; }

    double BaseTime() const { return baseTime_; }
    void SetBaseTime(double agValue) { baseTime_ = agValue; }
    int32_t CycleCount() const { return cycleCount_; }
    void SetCycleCount(int32_t agValue) { cycleCount_ = agValue; }
    double CalculatedTime() const { return calculatedTime_; }
    void SetCalculatedTime(double agValue) { calculatedTime_ = agValue; }

    // The time CycleCount cycles after BaseTime into CalculatedTime. Years and months keep the
    // day and the time of day; a day the month lacks becomes its last day. False, with
    // CalculatedTime unchanged, for another mode or range, or when the arithmetic fails.
    bool GetTimeAfterCycle();

private:
    bool AddAmounts(double& ouTime) const;
    bool NextSpecifiedTime(double& ouTime) const;

    int32_t cycleMode_ = kSpecifiedTime;
    int32_t rangeOfSpecifiedTime_ = kYearly;
    int32_t specifiedCount_ = 0;
    int32_t specifiedMonth_ = 0;
    int32_t specifiedWeek_ = 0;
    int32_t specifiedDay_ = 0;
    int32_t specifiedHour_ = 0;
    int32_t specifiedMinute_ = 0;
    int32_t specifiedSecond_ = 0;
    int32_t yearToAdd_ = 0;
    int32_t monthToAdd_ = 0;
    int32_t dayToAdd_ = 0;
    int32_t hourToAdd_ = 0;
    int32_t minuteToAdd_ = 0;
    int32_t secondToAdd_ = 0;
    double baseTime_ = tkvDateTime::kZeroDate;
    int32_t cycleCount_ = 0;
    double calculatedTime_ = tkvDateTime::kZeroDate;
};
