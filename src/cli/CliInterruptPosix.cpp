#include <array>
#include <csignal>

#include "CliInterrupt.h"
#include "tkvCancelMng.h"
#include "tkvEventPump.h"

namespace {

constexpr std::array<int, 3> kCancelSignals{SIGINT, SIGTERM, SIGHUP};

volatile std::sig_atomic_t caught = 0;

extern "C" void OnCancelSignal(int agSignal) {
    if (caught == 0) {
        caught = agSignal;
    }
}

std::array<struct sigaction, kCancelSignals.size()> previousCancel{};
struct sigaction previousFileSize {};

// What a recorded signal cancels; none between operations.
CliInterrupt::CancelMngSource cancelSource;

}  // namespace

CliInterrupt::CliInterrupt(bool agRestore) : restore_(agRestore) {
    caught = 0;
    struct sigaction action {};
    action.sa_handler = OnCancelSignal;
    sigemptyset(&action.sa_mask);
    for (size_t i = 0; i < kCancelSignals.size(); ++i) {
        ::sigaction(kCancelSignals[i], &action, &previousCancel[i]);
    }
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    ::sigaction(SIGXFSZ, &ignore, &previousFileSize);
    tkvEventPump::SetProcessEventsHook([] {
        if (caught == 0 || !cancelSource) {
            return;
        }
        if (const auto cancelMng = cancelSource()) {
            cancelMng->Cancel();
        }
    });
}

CliInterrupt::~CliInterrupt() {
    tkvEventPump::SetProcessEventsHook({});
    cancelSource = nullptr;
    if (!restore_) {
        return;
    }
    ::sigaction(SIGXFSZ, &previousFileSize, nullptr);
    for (size_t i = kCancelSignals.size(); i-- > 0;) {
        ::sigaction(kCancelSignals[i], &previousCancel[i], nullptr);
    }
}

void CliInterrupt::CancelThrough(CancelMngSource agSource) { cancelSource = std::move(agSource); }

bool CliInterrupt::Interrupted() { return caught != 0; }

int CliInterrupt::Signal() { return caught; }
