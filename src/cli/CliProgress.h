#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <ostream>

#include "KPXSepaCtrlEvents.h"

class KPXSepaData;

// Answers the engine's events for the command-line tool: overwrite questions by the --force
// choice, and progress as percent and bytes per second on a terminal, a few times a second.
class CliProgress : public KPXSepaCtrlEvents {
public:
    // agErr is only written to when agShowProgress; agSepaData gives the restore's total.
    CliProgress(std::ostream& agErr, bool agShowProgress, bool agForce,
                std::shared_ptr<KPXSepaData> agSepaData);
    // Clears the progress line.
    void Finish();

    void StatusOfSeparatingFile(int64_t agPosition, int64_t agTotal) override;
    void StatusOfRestoringToFile(int64_t agPosition, int64_t agTotal) override;
    void OverwriteFile(const std::string& agFileAddress, bool& ouCancel) override;

private:
    void Show(int64_t agDone, int64_t agTotal);

    std::ostream& err_;
    bool showProgress_;
    bool force_;
    std::shared_ptr<KPXSepaData> sepaData_;
    std::chrono::steady_clock::time_point started_ = std::chrono::steady_clock::now();
    std::chrono::steady_clock::time_point lastShown_{};
    bool shown_ = false;
};
