#include "tkvTimeCycle.h"

#include <limits>

#include "tkvDateControl.h"

namespace {

enum class Unit { kYear, kMonth, kWeek, kDay, kHour, kMinute, kSecond };

// The 32-bit product of an amount and a cycle count; false when it does not fit.
bool Multiply(int32_t agAmount, int32_t agCount, int32_t& ouProduct) {
    const int64_t product = int64_t{agAmount} * agCount;
    if (product < std::numeric_limits<int32_t>::min() ||
        product > std::numeric_limits<int32_t>::max()) {
        return false;
    }
    ouProduct = static_cast<int32_t>(product);
    return true;
}

int64_t SecondsPer(Unit agUnit) {
    switch (agUnit) {
        case Unit::kWeek:
            return 7 * 86400;
        case Unit::kDay:
            return 86400;
        case Unit::kHour:
            return 3600;
        case Unit::kMinute:
            return 60;
        default:
            return 1;
    }
}

// agTime plus agCount of agUnit; years and months with the month-end rule.
bool AddUnits(double agTime, Unit agUnit, int32_t agCount, double& ouTime) {
    switch (agUnit) {
        case Unit::kYear:
            return tkvDateTime::AddMonths(agTime, int64_t{agCount} * 12, ouTime);
        case Unit::kMonth:
            return tkvDateTime::AddMonths(agTime, agCount, ouTime);
        default:
            return tkvDateTime::AddSeconds(agTime, agCount * SecondsPer(agUnit), ouTime);
    }
}

}  // namespace

bool tkvTimeCycle::GetTimeAfterCycle() {
    double result = tkvDateTime::kZeroDate;
    bool done = false;
    if (cycleMode_ == kSpecifiedTime) {
        done = NextSpecifiedTime(result);
    } else if (cycleMode_ == kAddAmounts) {
        done = AddAmounts(result);
    }
    if (done) {
        calculatedTime_ = result;
    }
    return done;
}

bool tkvTimeCycle::AddAmounts(double& ouTime) const {
    const struct {
        int32_t Amount;
        Unit What;
    } steps[] = {{yearToAdd_, Unit::kYear},     {monthToAdd_, Unit::kMonth},
                 {dayToAdd_, Unit::kDay},       {hourToAdd_, Unit::kHour},
                 {minuteToAdd_, Unit::kMinute}, {secondToAdd_, Unit::kSecond}};
    double time = baseTime_;
    for (const auto& step : steps) {
        int32_t count = 0;
        if (!Multiply(step.Amount, cycleCount_, count)) {
            return false;
        }
        if (count != 0 && !AddUnits(time, step.What, count, time)) {
            return false;
        }
    }
    ouTime = time;
    return true;
}

bool tkvTimeCycle::NextSpecifiedTime(double& ouTime) const {
    int32_t count = 0;
    tkvDateTime::Parts base;
    if (!Multiply(cycleCount_, specifiedCount_, count) || !tkvDateTime::ToParts(baseTime_, base)) {
        return false;
    }
    // The anchor takes the parts above the range from the base time, the rest as specified.
    double anchor = tkvDateTime::kZeroDate;
    Unit unit = Unit::kYear;
    bool made = false;
    switch (rangeOfSpecifiedTime_) {
        case kYearly:
            made = tkvDateControl::MakeDateTime(base.Year, specifiedMonth_, specifiedDay_,
                                                specifiedHour_, specifiedMinute_, specifiedSecond_,
                                                anchor);
            unit = Unit::kYear;
            break;
        case kMonthly:
            made =
                tkvDateControl::MakeDateTime(base.Year, base.Month, specifiedDay_, specifiedHour_,
                                             specifiedMinute_, specifiedSecond_, anchor);
            unit = Unit::kMonth;
            break;
        case kWeekly:
            made = tkvDateControl::MakeDateTime(base.Year, base.Month, base.Day, specifiedHour_,
                                                specifiedMinute_, specifiedSecond_, anchor) &&
                   tkvDateTime::AddSeconds(
                       anchor, (int64_t{specifiedWeek_} - tkvDateTime::Weekday(anchor)) * 86400,
                       anchor);
            unit = Unit::kWeek;
            break;
        case kDaily:
            made = tkvDateControl::MakeDateTime(base.Year, base.Month, base.Day, specifiedHour_,
                                                specifiedMinute_, specifiedSecond_, anchor);
            unit = Unit::kDay;
            break;
        case kHourly:
            made = tkvDateControl::MakeDateTime(base.Year, base.Month, base.Day, base.Hour,
                                                specifiedMinute_, specifiedSecond_, anchor);
            unit = Unit::kHour;
            break;
        case kEveryMinute:
            made = tkvDateControl::MakeDateTime(base.Year, base.Month, base.Day, base.Hour,
                                                base.Minute, specifiedSecond_, anchor);
            unit = Unit::kMinute;
            break;
        default:
            return false;
    }
    if (!made) {
        return false;
    }
    // An anchor still ahead of the base time is itself the first occurrence.
    if (tkvDateControl::IsLater(anchor, baseTime_)) {
        if (count == std::numeric_limits<int32_t>::min()) {
            return false;
        }
        --count;
    }
    return AddUnits(anchor, unit, count, ouTime);
}
