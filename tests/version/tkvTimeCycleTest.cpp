#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "VersionFiles.h"
#include "tkvDateControl.h"
#include "tkvTimeCycle.h"

namespace {

tkvTimeCycle AddingCycle(double agBase) {
    tkvTimeCycle cycle;
    cycle.SetCycleMode(tkvTimeCycle::kAddAmounts);
    cycle.SetCycleCount(1);
    cycle.SetBaseTime(agBase);
    return cycle;
}

tkvTimeCycle SpecifiedCycle(int32_t agRange, double agBase) {
    tkvTimeCycle cycle;
    cycle.SetCycleMode(tkvTimeCycle::kSpecifiedTime);
    cycle.SetRangeOfSpecifiedTime(agRange);
    cycle.SetSpecifiedCount(1);
    cycle.SetCycleCount(1);
    cycle.SetBaseTime(agBase);
    return cycle;
}

double After(tkvTimeCycle agCycle) {
    EXPECT_TRUE(agCycle.GetTimeAfterCycle());
    return agCycle.CalculatedTime();
}

TEST(tkvTimeCycleTest, AddingDaysWeeksAndNothing) {
    tkvTimeCycle week = AddingCycle(DateOf(2024, 3, 1, 12));
    week.SetDayToAdd(7);
    EXPECT_EQ(After(week), DateOf(2024, 3, 8, 12));
    EXPECT_EQ(After(AddingCycle(DateOf(2024, 3, 1, 12))), DateOf(2024, 3, 1, 12));

    tkvTimeCycle mixed = AddingCycle(DateOf(2024, 3, 1, 12));
    mixed.SetCycleCount(2);
    mixed.SetYearToAdd(1);
    mixed.SetHourToAdd(13);
    mixed.SetMinuteToAdd(-30);
    mixed.SetSecondToAdd(5);
    EXPECT_EQ(After(mixed), DateOf(2026, 3, 2, 13, 0, 10));
}

TEST(tkvTimeCycleTest, MonthsKeepTheDayOrTakeTheMonthsLast) {
    tkvTimeCycle month = AddingCycle(DateOf(2023, 1, 31, 8));
    month.SetMonthToAdd(1);
    EXPECT_EQ(After(month), DateOf(2023, 2, 28, 8));
    month.SetBaseTime(DateOf(2024, 1, 31, 8));
    EXPECT_EQ(After(month), DateOf(2024, 2, 29, 8));

    tkvTimeCycle year = AddingCycle(DateOf(2024, 2, 29, 10, 15));
    year.SetYearToAdd(1);
    EXPECT_EQ(After(year), DateOf(2025, 2, 28, 10, 15));
}

TEST(tkvTimeCycleTest, OverflowAndDatesBeyondTheCalendarFailAndKeepTheResult) {
    tkvTimeCycle cycle = AddingCycle(DateOf(2024, 1, 1));
    cycle.SetCalculatedTime(123.0);
    cycle.SetDayToAdd(1 << 30);
    cycle.SetCycleCount(4);  // 2^32 days: beyond 32 bits
    EXPECT_FALSE(cycle.GetTimeAfterCycle());
    cycle.SetDayToAdd(0);
    cycle.SetYearToAdd(8000);
    cycle.SetCycleCount(1);
    EXPECT_FALSE(cycle.GetTimeAfterCycle()) << "year 10024";
    cycle.SetYearToAdd(1);
    cycle.SetBaseTime(NAN);
    EXPECT_FALSE(cycle.GetTimeAfterCycle());
    EXPECT_EQ(cycle.CalculatedTime(), 123.0);
}

TEST(tkvTimeCycleTest, OnlyModesOneAndTwoAndRangesOneToSixAreKnown) {
    tkvTimeCycle cycle = AddingCycle(DateOf(2024, 1, 1));
    cycle.SetCycleMode(3);
    EXPECT_FALSE(cycle.GetTimeAfterCycle());
    tkvTimeCycle range = SpecifiedCycle(7, DateOf(2024, 1, 1));
    EXPECT_FALSE(range.GetTimeAfterCycle());
    EXPECT_EQ(range.CalculatedTime(), 0.0);
}

TEST(tkvTimeCycleTest, DailyAtNineIsTheFirstNineStrictlyAfterTheBase) {
    tkvTimeCycle daily = SpecifiedCycle(tkvTimeCycle::kDaily, DateOf(2024, 5, 10, 8, 59, 59));
    daily.SetSpecifiedHour(9);
    EXPECT_EQ(After(daily), DateOf(2024, 5, 10, 9));
    daily.SetBaseTime(DateOf(2024, 5, 10, 9));
    EXPECT_EQ(After(daily), DateOf(2024, 5, 11, 9));
    daily.SetSpecifiedCount(3);
    EXPECT_EQ(After(daily), DateOf(2024, 5, 13, 9)) << "every third day";
}

TEST(tkvTimeCycleTest, WeeklyMovesTheAnchorToTheWeekday) {
    tkvTimeCycle weekly = SpecifiedCycle(tkvTimeCycle::kWeekly, DateOf(2024, 5, 15, 10));
    weekly.SetSpecifiedWeek(2);  // Monday
    EXPECT_EQ(After(weekly), DateOf(2024, 5, 20));
    weekly.SetSpecifiedWeek(6);  // Friday, still ahead in the same week
    EXPECT_EQ(After(weekly), DateOf(2024, 5, 17));
}

TEST(tkvTimeCycleTest, YearlyMonthlyHourlyAndEveryMinute) {
    const double base = DateOf(2024, 5, 31, 10, 30, 20);
    tkvTimeCycle yearly = SpecifiedCycle(tkvTimeCycle::kYearly, base);
    yearly.SetSpecifiedMonth(2);
    yearly.SetSpecifiedDay(29);
    EXPECT_EQ(After(yearly), DateOf(2025, 2, 28)) << "29 February of 2024, one year on";

    tkvTimeCycle monthly = SpecifiedCycle(tkvTimeCycle::kMonthly, base);
    monthly.SetSpecifiedDay(31);
    monthly.SetSpecifiedHour(12);
    EXPECT_EQ(After(monthly), DateOf(2024, 5, 31, 12));

    tkvTimeCycle hourly = SpecifiedCycle(tkvTimeCycle::kHourly, base);
    hourly.SetSpecifiedMinute(15);
    EXPECT_EQ(After(hourly), DateOf(2024, 5, 31, 11, 15));

    tkvTimeCycle minutely = SpecifiedCycle(tkvTimeCycle::kEveryMinute, base);
    minutely.SetSpecifiedSecond(50);
    EXPECT_EQ(After(minutely), DateOf(2024, 5, 31, 10, 30, 50));
}

TEST(tkvTimeCycleTest, ASpecifiedPartBeyondSixteenBitsFails) {
    tkvTimeCycle daily = SpecifiedCycle(tkvTimeCycle::kDaily, DateOf(2024, 5, 10));
    daily.SetSpecifiedMinute(40000);
    EXPECT_FALSE(daily.GetTimeAfterCycle());
    daily.SetSpecifiedMinute(0);
    daily.SetSpecifiedCount(std::numeric_limits<int32_t>::max());
    daily.SetCycleCount(2);
    EXPECT_FALSE(daily.GetTimeAfterCycle());
}

TEST(tkvDateControlTest, MakeDateTimeRollsOverAndRefusesSixteenBitOverflow) {
    double date = 0;
    ASSERT_TRUE(tkvDateControl::MakeDateTime(2024, 13, 1, 0, 0, 0, date));
    EXPECT_EQ(date, DateOf(2025, 1, 1));
    ASSERT_TRUE(tkvDateControl::MakeDateTime(2024, 4, 31, 9, 60, 0, date));
    EXPECT_EQ(date, DateOf(2024, 5, 1, 10));
    ASSERT_TRUE(tkvDateControl::MakeDateTime(2024, 1, 1, 0, 0, 32767, date));
    EXPECT_EQ(date, DateOf(2024, 1, 1, 9, 6, 7));

    date = 7.0;
    EXPECT_FALSE(tkvDateControl::MakeDateTime(2024, 1, 1, 0, 0, 32768, date));
    EXPECT_FALSE(tkvDateControl::MakeDateTime(2024, -32769, 1, 0, 0, 0, date));
    EXPECT_FALSE(tkvDateControl::MakeDateTime(10000, 1, 1, 0, 0, 0, date));
    EXPECT_EQ(date, 7.0);
}

TEST(tkvDateControlTest, DatesBeforeTheZeroDateAreOrderedByTheClock) {
    EXPECT_TRUE(tkvDateControl::IsLater(-1.25, -1.0)) << "29 Dec 06:00 after 29 Dec 00:00";
    EXPECT_FALSE(tkvDateControl::IsLater(-1.0, -1.25));
    EXPECT_TRUE(tkvDateControl::IsLater(0.5, 0.25));
    EXPECT_FALSE(tkvDateControl::IsLater(0.5, 0.5));
}

}  // namespace
