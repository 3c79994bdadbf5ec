#pragma once

#include <ostream>
#include <string>

#include "CliProgress.h"
#include "CliWindow.h"

class KPXUISepaMng;

// Runs one request through the operation assistant, as the window does, and tells its outcome
// the command-line way: the result page as text, the page file copied where --html says, and
// the exit status.
class CliAssistantRun {
public:
    CliAssistantRun(std::ostream& agOut, std::ostream& agErr, bool agShowProgress);

    // The settings and inputs the request runs with.
    KPXUISepaMng& Settings() { return *sepaMng_; }
    CliWindow& Window() { return window_; }

    // Estimates: the page on stdout; 0 when it says the operation can be done, 1 otherwise.
    // Runs: the log on stdout and 0, or the failure page on stderr and 1. A cancel with Ctrl+C
    // is 130. agHtmlFile, when not empty, receives a copy of the page file.
    int Run(KPXUISepaAssWindow::Operation agOperation, const std::string& agHtmlFile);

private:
    std::ostream& out_;
    std::ostream& err_;
    std::shared_ptr<KPXUISepaMng> sepaMng_;
    CliProgress progress_;
    CliWindow window_;
};
