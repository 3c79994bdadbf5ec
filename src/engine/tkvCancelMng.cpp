#include "tkvCancelMng.h"

#include "tkvEventPump.h"

bool tkvCancelMng::IsCanceled() {
    tkvEventPump::ProcessEvents();
    return canceled_;
}
