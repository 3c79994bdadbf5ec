#pragma once

#include <memory>

// The user's request to stop a running operation. Engine loops poll it after every unit of
// work; polling also lets pending window messages run, which is where a click on a cancel
// button sets the flag.
class tkvCancelMng {
public:
    void Cancel() { canceled_ = true; }
    void Reset() { canceled_ = false; }
    bool IsCanceled();

    // The poll of an optional manager: none means never cancelled.
    static bool IsCanceled(const std::shared_ptr<tkvCancelMng>& agCancelMng) {
        return agCancelMng && agCancelMng->IsCanceled();
    }

private:
    bool canceled_ = false;
};
