#pragma once

#include <algorithm>
#include <vector>

// The receivers of one object's events, called in the order they were added. A receiver is not
// owned; it removes itself before it goes away. Events are raised synchronously, and a handler
// may add or remove receivers meanwhile: one removed during a raise is not called any more.
template <typename Events>
class tkvEventReceivers {
public:
    void Add(Events* agEvents) {
        if (agEvents != nullptr && !Contains(agEvents)) {
            receivers_.push_back(agEvents);
        }
    }

    void Remove(Events* agEvents) { std::erase(receivers_, agEvents); }

    void Clear() { receivers_.clear(); }

    // Calls agCall(receiver) for each receiver.
    template <typename Call>
    void Raise(Call&& agCall) const {
        const std::vector<Events*> snapshot = receivers_;
        for (Events* receiver : snapshot) {
            if (Contains(receiver)) {
                agCall(*receiver);
            }
        }
    }

private:
    bool Contains(Events* agEvents) const {
        return std::find(receivers_.begin(), receivers_.end(), agEvents) != receivers_.end();
    }

    std::vector<Events*> receivers_;
};
