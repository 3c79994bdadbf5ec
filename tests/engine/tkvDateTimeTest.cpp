#include <gtest/gtest.h>

#include <cmath>

#include "tkvDateTime.h"

namespace tkvDateTime {
namespace {

double DateOf(int32_t agYear, int32_t agMonth, int32_t agDay, int32_t agHour = 0,
              int32_t agMinute = 0, int32_t agSecond = 0) {
    double date = NAN;
    EXPECT_TRUE(FromParts({agYear, agMonth, agDay, agHour, agMinute, agSecond}, date));
    return date;
}

TEST(tkvDateTimeTest, SerialValuesOfKnownDates) {
    EXPECT_EQ(DateOf(1899, 12, 30), 0.0);
    EXPECT_EQ(DateOf(1899, 12, 31, 12), 1.5);
    EXPECT_EQ(DateOf(1899, 12, 29, 6), -1.25) << "the fraction is the time even before day 0";
    EXPECT_EQ(DateOf(1900, 1, 1), 2.0);
    EXPECT_EQ(DateOf(2024, 5, 10), 45422.0);
}

TEST(tkvDateTimeTest, PartsRoundTripIncludingNegativeDays) {
    for (double date : {0.0, 1.5, -1.25, 45422.375, -700.75, 2958465.0}) {
        Parts parts;
        ASSERT_TRUE(ToParts(date, parts)) << date;
        double back = NAN;
        ASSERT_TRUE(FromParts(parts, back));
        EXPECT_EQ(back, date);
    }
}

TEST(tkvDateTimeTest, PartsRollOverIntoTheNextUnit) {
    EXPECT_EQ(DateOf(2024, 13, 1), DateOf(2025, 1, 1));
    EXPECT_EQ(DateOf(2024, 4, 31), DateOf(2024, 5, 1));
    EXPECT_EQ(DateOf(2024, 5, 10, 9, 60), DateOf(2024, 5, 10, 10, 0));
    EXPECT_EQ(DateOf(2024, 3, 0), DateOf(2024, 2, 29));
}

TEST(tkvDateTimeTest, RoundsToWholeSecondsWithTheCarry) {
    Parts parts;
    ASSERT_TRUE(ToParts(DateOf(2024, 5, 10) + (86400.0 - 0.2) / 86400.0, parts));
    EXPECT_EQ(parts.Day, 11);
    EXPECT_EQ(parts.Hour, 0);
    EXPECT_EQ(parts.Second, 0);
}

TEST(tkvDateTimeTest, ValuesWithoutACalendarFormAreRefused) {
    Parts parts;
    EXPECT_FALSE(ToParts(NAN, parts));
    EXPECT_FALSE(ToParts(INFINITY, parts));
    EXPECT_FALSE(ToParts(1e300, parts));
    EXPECT_FALSE(ToParts(2958466.0, parts)) << "10000-01-01";
    double date = 0;
    EXPECT_FALSE(FromParts({32767, 1, 1, 0, 0, 0}, date));
}

TEST(tkvDateTimeTest, GeneralDateTextLeavesOutMidnight) {
    EXPECT_EQ(GeneralDateText(DateOf(2024, 5, 10, 9)), "2024/05/10 9:00:00");
    EXPECT_EQ(GeneralDateText(DateOf(2024, 5, 10, 23, 5, 7)), "2024/05/10 23:05:07");
    EXPECT_EQ(GeneralDateText(DateOf(2024, 5, 10)), "2024/05/10");
    EXPECT_EQ(GeneralDateText(NAN), "nan") << "damaged dates still print";
}

TEST(tkvDateTimeTest, MonthsClampToTheMonthEndAndSecondsAreExact) {
    double date = 0;
    ASSERT_TRUE(AddMonths(DateOf(2024, 1, 31, 10), 1, date));
    EXPECT_EQ(date, DateOf(2024, 2, 29, 10));
    ASSERT_TRUE(AddMonths(DateOf(2023, 1, 31, 8), 1, date));
    EXPECT_EQ(date, DateOf(2023, 2, 28, 8));
    ASSERT_TRUE(AddMonths(DateOf(2024, 2, 29), 12, date));
    EXPECT_EQ(date, DateOf(2025, 2, 28));
    ASSERT_TRUE(AddSeconds(DateOf(1899, 12, 30), -18 * 3600, date));
    EXPECT_EQ(date, -1.25);
    EXPECT_EQ(Weekday(DateOf(2024, 5, 15)), 4) << "a Wednesday";
    EXPECT_EQ(Weekday(DateOf(2024, 5, 12)), 1) << "a Sunday";
}

TEST(tkvDateTimeTest, NowIsWholeSecondsOfToday) {
    const double now = Now();
    EXPECT_GT(now, DateOf(2020, 1, 1));
    Parts parts;
    ASSERT_TRUE(ToParts(now, parts));
    double back = 0;
    ASSERT_TRUE(FromParts(parts, back));
    EXPECT_EQ(back, now) << "no fraction of a second";
}

}  // namespace
}  // namespace tkvDateTime
