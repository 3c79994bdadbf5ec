#pragma once

#include <chrono>
#include <cstdint>
#include <ostream>

// Progress of a split or restore as percent and bytes per second on a terminal, shown a few
// times a second at most.
class CliProgress {
public:
    // Writes to agErr only when agShow.
    CliProgress(std::ostream& agErr, bool agShow) : err_(agErr), show_(agShow) {}

    void Show(int64_t agDone, int64_t agTotal);
    // Clears the progress line.
    void Finish();

private:
    std::ostream& err_;
    bool show_;
    std::chrono::steady_clock::time_point started_ = std::chrono::steady_clock::now();
    std::chrono::steady_clock::time_point lastShown_{};
    bool shown_ = false;
};
