#include "CliProgress.h"

#include <cstdio>
#include <string>

namespace {

constexpr auto kShowEvery = std::chrono::milliseconds(250);

}  // namespace

void CliProgress::Show(int64_t agDone, int64_t agTotal) {
    if (!show_) {
        return;
    }
    const auto now = std::chrono::steady_clock::now();
    if (shown_ && now - lastShown_ < kShowEvery && agDone < agTotal) {
        return;
    }
    lastShown_ = now;
    shown_ = true;
    const double seconds = std::chrono::duration<double>(now - started_).count();
    const double rate = seconds > 0 ? static_cast<double>(agDone) / seconds : 0.0;
    const double percent = agTotal > 0 ? 100.0 * static_cast<double>(agDone) / agTotal : 100.0;
    char line[96];
    std::snprintf(line, sizeof line, "\r%5.1f%%  %8.1f MiB/s ", percent, rate / (1024.0 * 1024.0));
    err_ << line << std::flush;
}

void CliProgress::Finish() {
    if (shown_) {
        err_ << "\r" << std::string(30, ' ') << "\r" << std::flush;
        shown_ = false;
    }
}
