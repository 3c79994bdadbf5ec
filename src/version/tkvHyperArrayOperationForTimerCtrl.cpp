#include "tkvHyperArrayOperationForTimerCtrl.h"

#include "tkvTimerCtrl.h"

namespace tkvHyperArrayOperationForTimerCtrl {

namespace {

bool CountMatches(const TimerArray& agArray, int32_t agCount) {
    return agCount >= 0 && agArray.size() == static_cast<size_t>(agCount);
}

}  // namespace

bool InsertSlots(TimerArray& ouArray, int32_t agCount, int32_t agAt, int32_t agSlots) {
    if (!CountMatches(ouArray, agCount) || agAt < 0 || agSlots < 1 || agAt > agCount) {
        return false;
    }
    // The vector moves the shared pointers it shifts: no count changes.
    ouArray.insert(ouArray.begin() + agAt, static_cast<size_t>(agSlots), nullptr);
    return true;
}

bool RemoveSlots(TimerArray& ouArray, int32_t agCount, int32_t agAt, int32_t agSlots) {
    if (!CountMatches(ouArray, agCount) || agAt < 0 || agSlots < 1 ||
        static_cast<int64_t>(agAt) + agSlots > agCount) {
        return false;
    }
    ouArray.erase(ouArray.begin() + agAt, ouArray.begin() + agAt + agSlots);
    if (ouArray.empty()) {
        ouArray.shrink_to_fit();
    }
    return true;
}

}  // namespace tkvHyperArrayOperationForTimerCtrl
