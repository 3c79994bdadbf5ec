#include "CliInterrupt.h"

#include <csignal>

#include "tkvCancelMng.h"
#include "tkvEventPump.h"

namespace {

volatile std::sig_atomic_t interrupted = 0;

extern "C" void OnInterrupt(int) { interrupted = 1; }

struct sigaction previousInterrupt {};
struct sigaction previousFileSize {};

}  // namespace

CliInterrupt::CliInterrupt(CancelMngSource agCancelMng) {
    interrupted = 0;
    struct sigaction action {};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGINT, &action, &previousInterrupt);
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    ::sigaction(SIGXFSZ, &ignore, &previousFileSize);
    tkvEventPump::SetProcessEventsHook([source = std::move(agCancelMng)] {
        if (interrupted == 0) {
            return;
        }
        if (const auto cancelMng = source()) {
            cancelMng->Cancel();
        }
    });
}

CliInterrupt::~CliInterrupt() {
    tkvEventPump::SetProcessEventsHook({});
    ::sigaction(SIGXFSZ, &previousFileSize, nullptr);
    ::sigaction(SIGINT, &previousInterrupt, nullptr);
}

bool CliInterrupt::Interrupted() const { return interrupted != 0; }
