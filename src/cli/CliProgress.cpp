#include "CliProgress.h"

#include <cstdio>

#include "KPXSepaData.h"

namespace {

constexpr auto kShowEvery = std::chrono::milliseconds(250);

}  // namespace

CliProgress::CliProgress(std::ostream& agErr, bool agShowProgress, bool agForce,
                         std::shared_ptr<KPXSepaData> agSepaData)
    : err_(agErr),
      showProgress_(agShowProgress),
      force_(agForce),
      sepaData_(std::move(agSepaData)) {}

void CliProgress::OverwriteFile(const std::string&, bool& ouCancel) { ouCancel = !force_; }

void CliProgress::StatusOfSeparatingFile(int64_t agPosition, int64_t agTotal) {
    if (agPosition > 0) {
        Show(agPosition - 1, agTotal);
    }
}

void CliProgress::StatusOfRestoringToFile(int64_t agPosition, int64_t) {
    // The position is in the restored file; the total is the sum of all pieces.
    if (agPosition > 0) {
        Show(agPosition - 1, sepaData_->SourceFileSize());
    }
}

void CliProgress::Show(int64_t agDone, int64_t agTotal) {
    if (!showProgress_) {
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
