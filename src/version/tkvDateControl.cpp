#include "tkvDateControl.h"

#include <limits>

#include "tkvDateTime.h"

namespace tkvDateControl {

namespace {

bool FitsInteger(int32_t agPart) {
    return agPart >= std::numeric_limits<int16_t>::min() &&
           agPart <= std::numeric_limits<int16_t>::max();
}

}  // namespace

bool MakeDateTime(int32_t agYear, int32_t agMonth, int32_t agDay, int32_t agHour, int32_t agMinute,
                  int32_t agSecond, double& ouDate) {
    for (int32_t part : {agYear, agMonth, agDay, agHour, agMinute, agSecond}) {
        if (!FitsInteger(part)) {
            return false;
        }
    }
    return tkvDateTime::FromParts({agYear, agMonth, agDay, agHour, agMinute, agSecond}, ouDate);
}

bool IsLater(double agDate, double agThan) {
    int64_t date = 0;
    int64_t than = 0;
    if (tkvDateTime::ToSerialSeconds(agDate, date) && tkvDateTime::ToSerialSeconds(agThan, than)) {
        return date > than;
    }
    return agDate > agThan;
}

}  // namespace tkvDateControl
