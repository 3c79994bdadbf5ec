#pragma once

#include <cstdint>
#include <memory>
#include <vector>

class tkvTimerCtrl;

// Insertion and removal of slots in the timer registry's array of counted references.
// agCount is the number of entries in use; an array whose size differs from it is refused, so a
// caller that lost track of its count cannot move the wrong entries.
namespace tkvHyperArrayOperationForTimerCtrl {

using TimerArray = std::vector<std::shared_ptr<tkvTimerCtrl>>;

// Opens agSlots empty slots at agAt (0 to agCount), moving the entries from agAt up without
// touching their reference counts. False for agAt outside 0 to agCount or agSlots below 1.
bool InsertSlots(TimerArray& ouArray, int32_t agCount, int32_t agAt, int32_t agSlots);

// Releases the agSlots entries from agAt and closes the gap. False for agAt below 0, agSlots
// below 1 or agAt + agSlots beyond agCount. An array that becomes empty gives back its memory.
bool RemoveSlots(TimerArray& ouArray, int32_t agCount, int32_t agAt, int32_t agSlots);

}  // namespace tkvHyperArrayOperationForTimerCtrl
